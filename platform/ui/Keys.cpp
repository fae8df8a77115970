#include "Keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

namespace plax::ui {
namespace {

class ButtonEnterKey : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void installButtonEnterKey() {
    static QPointer<ButtonEnterKey> filter;
    if (!filter && qApp) {
        filter = new ButtonEnterKey(qApp);
        qApp->installEventFilter(filter);
    }
}

} // namespace plax::ui
