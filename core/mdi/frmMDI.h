#pragma once
// The office program's main window: a multiple-document area with the
// menus and toolbar that open every other screen. Screens of other
// libraries are reached through their menu handlers (core/common/
// Screens.h); items without a handler are disabled.

#include <QMainWindow>

class QAction;
class QMdiArea;
class QMenu;
class QToolBar;

namespace plax {

class frmMDI : public QMainWindow {
    Q_OBJECT
public:
    frmMDI();
    ~frmMDI() override;

    // Shows the window, loads the company settings, sets the caption and
    // lets the splash close.
    void MDIForm_Load();

    // Runs the menu item `name` as a click would.
    void runMenuItem(const QString& name);
    // Runs the menu item of a toolbar key; a key not in the table runs
    // nothing.
    void Toolbar1_ButtonClick(const QString& key);
    // The menu item a toolbar key runs, or an empty text.
    static QString menuItemForKey(const QString& key);

    // Re-reads which items have a handler.
    void refreshMenus();

    // The menu item (an action) or menu by its name.
    QAction* item(const QString& name) const;
    QMdiArea* area() const { return area_; }
    QToolBar* toolbar() const { return toolbar_; }

    void mnuSetupPassword_Click();
    void mnuSetupExit_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearch_Click();
    void mnuHelpZeltoWeb_Click();
    void mnuHelpAbout_Click();

    // The address the web-site item opens (a build setting; the item is
    // hidden when it is empty).
    static QString webAddress();

protected:
    // MDIForm_Unload: closes the screens, the database and the help viewer,
    // then ends the program.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    QMenu* addMenu(QMenu* parent, const QString& name, const QString& caption);
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption);

    QMdiArea* area_ = nullptr;
    QToolBar* toolbar_ = nullptr;
};

} // namespace plax
