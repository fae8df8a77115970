#include "ErrorBox.h"

#include "platform/db/DbError.h"
#include "platform/ui/Dialogs.h"

namespace plax {

void ShowError(const QString& tag, const QString& message, int errorNumber) {
    ui::Beep();
    ui::MsgBox(message, ui::Buttons::OK, ui::Icon::Critical,
               QStringLiteral("Zelto Error#: ") + tag + QString::number(errorNumber));
}

int errorNumberOf(const std::exception& e) {
    if (const auto* d = dynamic_cast<const db::DbError*>(&e))
        return d->number();
    return 0;
}

void ShowError(const QString& tag, const std::exception& e) {
    if (const auto* d = dynamic_cast<const db::DbError*>(&e))
        ShowError(tag, d->description(), d->number());
    else
        ShowError(tag, QString::fromUtf8(e.what()), 0);
}

} // namespace plax
