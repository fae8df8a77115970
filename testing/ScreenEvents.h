#pragma once
// What a person does to a screen, delivered through the running event loop:
// the screen shown as the active window (so focus and keys reach it), a
// mouse click on a toolbar button found by its key, keys typed where the
// focus is, and a modal dialog answered once it is up.

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace plax::test {

// Shows the window of `w` and makes it the active one.
inline void showActive(QWidget* w) {
    QWidget* window = w->window();
    window->show();
    QApplication::setActiveWindow(window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window)) << window->objectName().toStdString();
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
