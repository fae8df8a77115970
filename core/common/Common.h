#pragma once
// Small routines every screen of both programs uses: the program folder,
// centring a window, the open-file chooser, closing the help viewer and
// ending the program.

#include "platform/help/HelpKey.h"
#include "platform/ui/Dialogs.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace plax {

// The program's folder with a trailing "/".
QString GetAppPath();
// `folder` with "/" appended unless it ends in one already.
QString withTrailingSeparator(const QString& folder);

// Moves the window so that it is centred on the screen (a screen inside the
// main window: on its document area).
void CenterForm(QWidget* form);
// Centres the window across the screen (or the document area) and sets its
// top edge `twips` below the top (15 twips to a pixel); with `leftTwips`
// its left edge goes there instead of the centre. Screens call it when
// first shown, once their size and frame are known.
void placeForm(QWidget* form, int twips, std::optional<int> leftTwips = std::nullopt);
// Closes the window, and its frame when it sits in the main window's
// document area.
void closeForm(QWidget* form);

// The filter strings of the open-file chooser by kind (1 to 4); empty for
// any other kind.
QString openDialogFilter(int kind);
// The main window's file dialog: its filter and title stay between uses.
ui::FileRequest& OpenFileDlg();
// Lets the user choose an existing file: returns its path, or an empty
// text on Cancel. A name that does not exist shows "X202-" and asks again.
// A kind other than 1 to 4 keeps the dialog's filter.
QString ShowOpenDialog(ui::FileRequest& dlg, const QString& initDir, const QString& title, int kind);
QString ShowOpenDialog(const QString& initDir, const QString& title, int kind);

// The program's help file (AppPath + "PLAX.hlp" once start-up has run).
extern QString HelpFile;
// Names the program's help file at start-up: sets HelpFile and lets F1 on
// any screen open it at that screen's topic (screenHelpTopics()).
void NameHelpFile(const QString& path);
// The screens that have a topic of their own in the user guide.
const std::vector<help::ScreenTopic>& screenHelpTopics();
// Closes the help viewer opened for `form`.
void QuitHelp(QWidget* form);

// Ends the program: leaves the event loop now or as soon as it runs.
// Tests see the request through programEnded().
void EndProgram(int exitCode = 0);
bool programEnded();
void resetProgramEnded();
// Replaces what EndProgram does after noting the request (tests keep their
// own event loops running); an empty handler restores the default.
void setEndProgramHandler(std::function<void(int)> handler);

} // namespace plax
