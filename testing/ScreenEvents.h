#pragma once
// What a person does to a screen, delivered through the running event loop:
// the screen shown as the active window (so focus and keys reach it), a
// mouse click on a toolbar button found by its key, keys typed where the
// focus is, and a modal dialog answered once it is up.
//
// Waits have no clock of their own: a loaded machine or a sanitizer build
// outlasts any fixed limit, so they wait for their condition and the test
// case's CTest timeout (five minutes) is the only bound.

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

namespace plax::test {

// Runs the event loop until `done()` holds, however long that takes. A wait
// past a minute says where it waits, so a test the CTest timeout ends shows
// which condition never came.
template <class Done>
void waitUntil(Done done, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    for (int minutes = 1; !QTest::qWaitFor(done, 60000); ++minutes)
        std::fprintf(stderr, "%s:%d: still waiting after %d min\n", file, line, minutes);
}

// Shows the window of `w` and waits until it is the active one, as a person
// waits for a screen to come up before typing into it. What the screen does
// as it shows runs meanwhile, and may put up a modal box of its own and take
// it down again (the attendance report's hours run shows its progress bar
// once it takes a while). Nothing gives the activation back when that box
// goes (the offscreen platform has no window manager): so while the window
// is not active and no other modal window covers it, it is activated again,
// as a click on it would. A window that closes instead fails the check.
inline void showActive(QWidget* w) {
    QPointer<QWidget> window = w->window();
    const std::string name = window->objectName().toStdString();
    window->show();
    waitUntil([&] {
        if (!window || !window->isVisible())
            return true;
        if (QApplication::activeWindow() == window && window->windowHandle() &&
            window->windowHandle()->isActive())
            return true;
        const QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == window)
            window->activateWindow();
        return false;
    });
    EXPECT_TRUE(window && window->isVisible()) << name << " closed before it became the active window";
}

// The button of the toolbar action with the object name `key` in `screen`.
inline QWidget* toolButton(QWidget* screen, const QString& key) {
    for (QToolBar* bar : screen->findChildren<QToolBar*>())
        for (QAction* a : bar->actions())
            if (a->objectName() == key)
                return bar->widgetForAction(a);
    ADD_FAILURE() << "no toolbar button " << key.toStdString();
    return nullptr;
}

// A click with the mouse on that button.
inline void clickToolButton(QWidget* screen, const QString& key) {
    if (QWidget* b = toolButton(screen, key))
        QTest::mouseClick(b, Qt::LeftButton);
}

// Clicks a cell of a table view, opens its editor with F2 and types over
// its text; the editor stays open (Enter or leaving the cell commits it).
inline void typeIntoCell(QAbstractItemView* view, int row, int column, const QString& text) {
    const QModelIndex cell = view->model()->index(row, column);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
    QTest::keyClick(view, Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_TRUE(editor && view->isAncestorOf(editor) && editor != view) << "no cell editor";
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
}

// Types key by key into whatever holds the focus (so the first key typed
// into a grid cell opens its editor and the rest go there), a tab
// character pressing Tab and a line break Enter, as a clerk types row
// after row.
inline void typeKeys(const QString& keys) {
    for (const QChar c : keys) {
        if (c == QLatin1Char('\t'))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        else if (c == QLatin1Char('\n'))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
    }
}

// Runs `drive` on every dialog of type D that opens while this lives, once
// the dialog's own event loop runs, as a person would answer it; a dialog
// still open afterwards is cancelled, so a failed check cannot leave the
// test waiting on it. Of two drivers alive at once, the newer answers.
template <class D> class DialogDriver : public QObject {
  public:
    explicit DialogDriver(std::function<void(D&)> drive) : drive_(std::move(drive)), before_(newest()) {
        newest() = this;
        qApp->installEventFilter(this);
    }
    ~DialogDriver() override {
        qApp->removeEventFilter(this);
        newest() = before_;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    // How many dialogs were answered.
    int driven() const { return driven_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<D*>(watched);
        if (dialog && event->type() == QEvent::Show && newest() == this) {
            QPointer<D> d = dialog;
            QTimer::singleShot(0, this, [this, d] {
                if (!d)
                    return;
                showActive(d);
                drive_(*d);
                ++driven_;
                if (d && d->isVisible())
                    d->reject();
            });
        }
        return false;
    }

  private:
    static DialogDriver*& newest() {
        static DialogDriver* driver = nullptr;
        return driver;
    }
    std::function<void(D&)> drive_;
    DialogDriver* before_;
    int driven_ = 0;
};

} // namespace plax::test
