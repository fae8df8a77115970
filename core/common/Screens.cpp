#include "Screens.h"

#include <QHash>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

namespace plax {
namespace {
QHash<QString, MenuHandler>& handlers() {
    static QHash<QString, MenuHandler> h;
    return h;
}
QPointer<QMdiArea> g_area;
} // namespace

void registerMenuHandler(const QString& menuName, MenuHandler handler) {
    handlers().insert(menuName.toLower(), std::move(handler));
}

bool runMenuHandler(const QString& menuName) {
    const auto it = handlers().constFind(menuName.toLower());
    if (it == handlers().constEnd() || !*it)
        return false;
    (*it)();
    return true;
}

bool hasMenuHandler(const QString& menuName) { return handlers().contains(menuName.toLower()); }
void clearMenuHandlers() { handlers().clear(); }

QMdiArea* mdiArea() { return g_area; }
void setMdiArea(QMdiArea* area) { g_area = area; }

void closeFrameWithScreen(QMdiSubWindow* frame, QWidget* screen) {
    // Queued: when the frame itself is being destroyed the call is dropped.
    QObject::connect(screen, &QObject::destroyed, frame, &QMdiSubWindow::close, Qt::QueuedConnection);
}

namespace {
QSize boundedToArea(const QSize& size, const QMdiSubWindow* sub) {
    return size.expandedTo(sub->minimumSizeHint()).boundedTo(g_area->viewport()->size());
}
} // namespace

void showScreen(QWidget* screen) {
    if (!screen)
        return;
    screen->setAttribute(Qt::WA_DeleteOnClose);
    if (g_area) {
        QMdiSubWindow* sub = nullptr;
        for (QMdiSubWindow* w : g_area->subWindowList())
            if (w->widget() == screen)
                sub = w;
        bool fit = false;
        QSize wanted;
        if (!sub) {
            // The frame takes the size the screen was given (the area would
            // otherwise shrink it to its size hint), never more than the area.
            fit = screen->testAttribute(Qt::WA_Resized);
            wanted = screen->size();
            sub = g_area->addSubWindow(screen);
            sub->setAttribute(Qt::WA_DeleteOnClose);
            sub->setWindowTitle(screen->windowTitle());
            if (fit && screen->sizeHint().isValid())
                sub->resize(boundedToArea(wanted + sub->sizeHint() - screen->sizeHint(), sub));
            closeFrameWithScreen(sub, screen);
        }
        sub->show();
        if (fit && screen->size() != wanted)
            sub->resize(boundedToArea(sub->size() + wanted - screen->size(), sub));
        screen->show();
        g_area->setActiveSubWindow(sub);
        return;
    }
    screen->show();
    screen->raise();
    screen->activateWindow();
}

} // namespace plax
