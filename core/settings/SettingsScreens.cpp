#include "SettingsScreens.h"

#include "core/common/Common.h"
#include "core/common/Screens.h"
#include "frmCommParm.h"
#include "frmSetupCompany.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressDialog>

#include <memory>

namespace plax::settings {
namespace {
QPointer<frmSetupCompany> g_company;
QPointer<frmCommParm> g_commParm;
} // namespace

QWidget* showCompanySetup() {
    return showSingle<frmSetupCompany>(g_company);
}
QWidget* showCommParm() {
    return showSingle<frmCommParm>(g_commParm);
}

void placeScreen(QWidget* screen, int twips) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget())) {
        const QWidget* area = frame->mdiArea() ? frame->mdiArea()->viewport() : nullptr;
        const int width = area ? area->width() : frame->width();
        frame->move(qMax(0, (width - frame->width()) / 2), twips / 15);
        return;
    }
    CenterForm(screen);
    screen->move(screen->x(), twips / 15);
}

void closeScreen(QWidget* screen) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        frame->close();
    else
        screen->close();
}

void describeButton(QAbstractButton* button, const QString& tip, const QString& name) {
    button->setToolTip(tip);
    button->setAccessibleName(name);
    button->setAccessibleDescription(tip);
}

RecomputeProgress recomputeProgress(QWidget* owner, const QString& title) {
    auto bar = std::make_shared<std::unique_ptr<QProgressDialog>>();
    QPointer<QWidget> parent = owner ? owner->window() : nullptr;
    return [bar, parent, title](int done, int total) {
        if (!*bar && total >= kProgressFrom && done < total) {
            *bar = std::make_unique<QProgressDialog>(title, QString(), 0, total, parent);
            (*bar)->setObjectName(QStringLiteral("recomputeProgress"));
            (*bar)->setCancelButton(nullptr);
            (*bar)->setWindowModality(Qt::ApplicationModal);
            (*bar)->setMinimumDuration(0);
        }
        if (*bar) {
            (*bar)->setValue(done);
            if (done >= total)
                bar->reset();
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

} // namespace plax::settings

namespace plax {

void registerSettingsScreens() {
    registerMenuHandler(QStringLiteral("mnuSetupCompany"), [] { settings::showCompanySetup(); });
    registerMenuHandler(QStringLiteral("mnuSetupPLAXClk"), [] { settings::showCommParm(); });
}

} // namespace plax
