#pragma once
// F1 in any window of the program opens the help file at the topic of the
// screen the key was pressed in, as a help file named at start-up did.
//
// Screens are found by class name. Going up from the widget that has the
// key, the first widget whose class (or a base class) is in the table
// decides. A screen of the main window's document area ends the search: one
// without a topic opens the contents, never the main window's topic. A
// dialog or message box of its own belongs to the window that opened it,
// and over the main window to the document-area screen active beneath it.
//
// Threading: user-interface thread only.

#include <QString>
#include <vector>

class QWidget;

namespace plax::help {

struct ScreenTopic {
    const char* screen; // class name without its namespace
    int context;        // the topic's context number in the help file
};

// Lets F1 open `helpFile` in the whole application (needs a QApplication).
// A second call replaces the file and the table.
void installHelpKey(const QString& helpFile, std::vector<ScreenTopic> screens);

// The context number F1 opens for a key in `w`; 0 for the contents.
int helpContextFor(const QWidget* w);

} // namespace plax::help
