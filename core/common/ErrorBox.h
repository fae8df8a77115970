#pragma once
// The error box every handler of both programs shows: a beep, then a
// critical message box titled "Zelto Error#: " + tag + the error number.

#include <QString>
#include <exception>

namespace plax {

void ShowError(const QString& tag, const QString& message, int errorNumber = 0);
// The error box for a caught exception: a database error shows its number
// and text; anything else its text with number 0.
void ShowError(const QString& tag, const std::exception& e);
// The number and text of a caught exception.
int errorNumberOf(const std::exception& e);

} // namespace plax
