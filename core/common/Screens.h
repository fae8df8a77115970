#pragma once
// How the office program's main window reaches screens that live in other
// libraries. Each subsystem registers a handler per menu item name (the
// names of the main window's menu items, "mnuFileImport" and so on) at
// start-up; the main window runs the handler when the item (or its toolbar
// button) is chosen, and disables items that have none.

#include <QString>
#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace plax {

using MenuHandler = std::function<void()>;

void registerMenuHandler(const QString& menuName, MenuHandler handler);
// Runs the handler; returns false when none is registered.
bool runMenuHandler(const QString& menuName);
bool hasMenuHandler(const QString& menuName);
void clearMenuHandlers();

// The main window's multiple-document area (nullptr in the terminal and in
// tests that run without a main window).
QMdiArea* mdiArea();
void setMdiArea(QMdiArea* area);

// A frame of the document area closes when the screen inside it is
// closed and deleted (a screen's own Close button).
void closeFrameWithScreen(QMdiSubWindow* frame, QWidget* screen);

// Shows a screen modeless: as a child of the main window's area when there
// is one, else as a window of its own; brings it forward if shown already.
void showScreen(QWidget* screen);

// One instance per screen, created on first use and forgotten when it is
// closed (screens are deleted on close). Usage:
//   static QPointer<frmX> instance;  showSingle(instance);
template <typename Form, typename Pointer>
Form* showSingle(Pointer& instance) {
    if (!instance)
        instance = new Form();
    showScreen(instance);
    return instance;
}

} // namespace plax
