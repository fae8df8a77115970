#pragma once
// Cutting the employee ID out of what a badge reader sent: the ID stands
// between the first ";" and the first "?" after it.

#include <QString>
#include <functional>
#include <optional>

namespace plax::clk {

// MSR100: nullopt (nothing to do) for an empty read; otherwise the text
// after the first ";" (all of it without one), up to the first "?" (to the
// end without one).
std::optional<QString> cutMsr100Frame(QString s);

// RS2000: when the text holds a carriage return its last character is
// dropped; an empty text gives nullopt. Then the text after the first ";";
// when no "?" follows, `readMore()` is appended (the frame may arrive in two
// reads) before cutting at the first "?" (uncut when there is still none).
// A frame whose ID is "N" gives nullopt.
std::optional<QString> cutRs2000Frame(QString s, const std::function<QString()>& readMore);

} // namespace plax::clk
