#include "frmChild.h"

#include "Screens.h"

#include <QChildEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

namespace plax {

frmChild::frmChild() {
    setObjectName(QStringLiteral("frmChild"));
    setWindowTitle(QStringLiteral("Report Preview Window"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(800, 600);
}

frmChild* frmChild::create() {
    auto* f = new frmChild;
    if (QMdiArea* area = mdiArea()) {
        QMdiSubWindow* sub = area->addSubWindow(f);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(f->windowTitle());
        closeFrameWithScreen(sub, f);
        sub->resize(area->size() * 0.9);
    }
    return f;
}

void frmChild::showWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->show();
        if (sub->mdiArea())
            sub->mdiArea()->setActiveSubWindow(sub);
    }
    show();
    raise();
    activateWindow();
    fitChild();
}

QWidget* frmChild::firstChild() const {
    for (QObject* o : children())
        if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow())
            return w;
    return nullptr;
}

void frmChild::fitChild() {
    if (QWidget* w = firstChild(); w && w->geometry() != rect())
        w->setGeometry(rect());
}

void frmChild::paintEvent(QPaintEvent* event) {
    fitChild();
    QWidget::paintEvent(event);
}

void frmChild::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitChild();
}

void frmChild::childEvent(QChildEvent* event) {
    QWidget::childEvent(event);
    if (event->added())
        QTimer::singleShot(0, this, &frmChild::fitChild);
}

} // namespace plax
