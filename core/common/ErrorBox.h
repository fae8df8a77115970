#pragma once
// The error box every handler of both programs shows: a beep, then a
// critical message box titled "Zelto Error#: " + tag + the error number.

#include <QString>
#include <exception>

namespace plax {

// Titled with the number of the error being handled: called inside a catch
// block, the caught error's number (a database error's engine number, 0 for
// any other); elsewhere 0.
void ShowError(const QString& tag, const QString& message);
void ShowError(const QString& tag, const QString& message, int errorNumber);
// The error box for a caught exception: a database error shows its number
// and text; anything else its text with its number (6 for an overflow, else
// 0).
void ShowError(const QString& tag, const std::exception& e);
// The number and text of a caught exception.
int errorNumberOf(const std::exception& e);

} // namespace plax
