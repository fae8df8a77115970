#include "Progress.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProgressDialog>

#include <memory>

namespace plax::ui {

std::function<void(int done, int total)> progressBar(QWidget* owner, const QString& title, int showFrom,
                                                     int showAfterMs, const QString& objectName) {
    auto bar = std::make_shared<std::unique_ptr<QProgressDialog>>();
    QPointer<QWidget> parent = owner ? owner->window() : nullptr;
    return [=](int done, int total) {
        if (!*bar && total >= showFrom && done < total) {
            *bar = std::make_unique<QProgressDialog>(title, QString(), 0, total, parent);
            (*bar)->setObjectName(objectName);
            (*bar)->setCancelButton(nullptr);
            (*bar)->setWindowModality(Qt::ApplicationModal);
            (*bar)->setMinimumDuration(showAfterMs);
        }
        if (*bar) {
            (*bar)->setValue(done);
            if (done >= total)
                bar->reset();
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

} // namespace plax::ui
