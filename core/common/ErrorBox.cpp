#include "ErrorBox.h"

#include "platform/db/DbError.h"
#include "platform/ui/Dialogs.h"

#include <stdexcept>

namespace plax {

namespace {

// The number of the exception being handled, 0 when none is.
int pendingErrorNumber() {
    const std::exception_ptr pending = std::current_exception();
    if (!pending)
        return 0;
    try {
        std::rethrow_exception(pending);
    } catch (const std::exception& e) {
        return errorNumberOf(e);
    } catch (...) {
        return 0;
    }
}

} // namespace

void ShowError(const QString& tag, const QString& message, int errorNumber) {
    ui::Beep();
    ui::MsgBox(message, ui::Buttons::OK, ui::Icon::Critical,
               QStringLiteral("Zelto Error#: ") + tag + QString::number(errorNumber));
}

void ShowError(const QString& tag, const QString& message) { ShowError(tag, message, pendingErrorNumber()); }

int errorNumberOf(const std::exception& e) {
    if (const auto* d = dynamic_cast<const db::DbError*>(&e))
        return d->number();
    if (dynamic_cast<const std::overflow_error*>(&e))
        return 6; // "Overflow": a number too large for its kind
    return 0;
}

void ShowError(const QString& tag, const std::exception& e) {
    if (const auto* d = dynamic_cast<const db::DbError*>(&e))
        ShowError(tag, d->description(), d->number());
    else
        ShowError(tag, QString::fromUtf8(e.what()), errorNumberOf(e));
}

} // namespace plax
