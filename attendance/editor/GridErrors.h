#pragma once
// The clock-data grid's own messages for the engine's errors: the error
// text is matched against a short table of patterns ("*" stands for any
// run of characters) and the screen shows its message with its tag.

#include <QString>

namespace plax::editor {

struct GridMessage {
    QString tag;
    QString message;
};

// True when `text` matches `pattern` as a whole; "*" matches any run.
bool matchesPattern(const QString& pattern, const QString& text);

// The tag and message for an engine error text; anything not in the table
// gets "T258-" and the text itself.
GridMessage gridMessageFor(const QString& errorText);

// Shows the error box for an error the grid's rows raised.
void showGridError(const std::exception& e);

} // namespace plax::editor
