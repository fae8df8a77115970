#pragma once
// What a person does to a screen, delivered through the running event loop:
// the screen shown as the active window (so focus and keys reach it), and a
// mouse click on a toolbar button found by its key.

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QToolBar>
#include <QWidget>
#include <gtest/gtest.h>

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

} // namespace plax::test
