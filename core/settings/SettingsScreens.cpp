#include "SettingsScreens.h"

#include "core/common/Screens.h"
#include "frmCommParm.h"
#include "frmSetupCompany.h"
#include "platform/ui/Progress.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>

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

void describeButton(QAbstractButton* button, const QString& tip, const QString& name) {
    button->setToolTip(tip);
    button->setAccessibleName(name);
    button->setAccessibleDescription(tip);
}

RecomputeProgress recomputeProgress(QWidget* owner, const QString& title) {
    return ui::progressBar(owner, title, kProgressFrom, 0, QStringLiteral("recomputeProgress"));
}

} // namespace plax::settings

namespace plax {

void registerSettingsScreens() {
    registerMenuHandler(QStringLiteral("mnuSetupCompany"), [] { settings::showCompanySetup(); });
    registerMenuHandler(QStringLiteral("mnuSetupPLAXClk"), [] { settings::showCommParm(); });
}

} // namespace plax
