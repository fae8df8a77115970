#include "HelpKey.h"

#include "WinHelp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <string_view>

namespace plax::help {
namespace {

struct KeyState {
    QString file;
    std::vector<ScreenTopic> screens;
};

KeyState& state() {
    static KeyState s;
    return s;
}

int contextOfClass(const QWidget* w) {
    for (const QMetaObject* mo = w->metaObject(); mo; mo = mo->superClass()) {
        std::string_view name(mo->className());
        if (const auto cut = name.rfind("::"); cut != std::string_view::npos)
            name.remove_prefix(cut + 2);
        for (const ScreenTopic& t : state().screens)
            if (name == t.screen)
                return t.context;
    }
    return 0;
}

// The window the viewer belongs to: the outermost one, so that it closes
// with the program's main window rather than with a dialog.
QWidget* ownerOf(QWidget* w) {
    QWidget* owner = w->window();
    while (owner->parentWidget())
        owner = owner->parentWidget()->window();
    return owner;
}

class HelpKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* w = static_cast<QWidget*>(watched);
        const int context = helpContextFor(w);
        WinHelp(ownerOf(w), state().file, HELP_CONTEXT, unsigned(context));
        return true;
    }
};

} // namespace

int helpContextFor(const QWidget* w) {
    for (const QWidget* p = w; p; p = p->parentWidget()) {
        // The frame of a document-area screen stands for the screen inside.
        if (const auto* frame = qobject_cast<const QMdiSubWindow*>(p))
            return frame->widget() ? contextOfClass(frame->widget()) : 0;
        if (const int context = contextOfClass(p))
            return context;
        if (qobject_cast<const QMdiSubWindow*>(p->parentWidget()))
            return 0;
        // A box over the main window belongs to the screen active beneath it.
        if (p->isWindow() && p->parentWidget())
            if (const auto* area = p->parentWidget()->window()->findChild<QMdiArea*>())
                if (const QMdiSubWindow* active = area->activeSubWindow())
                    return helpContextFor(active);
    }
    return 0;
}

void installHelpKey(const QString& helpFile, std::vector<ScreenTopic> screens) {
    state().file = helpFile;
    state().screens = std::move(screens);
    static QPointer<HelpKeyFilter> filter;
    if (!filter && qApp) {
        filter = new HelpKeyFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

} // namespace plax::help
