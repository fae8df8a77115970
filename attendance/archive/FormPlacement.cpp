#include "FormPlacement.h"

#include "core/common/Common.h"

#include <QMdiSubWindow>

namespace plax::archive {

void placeForm(QWidget* form, int twips) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        const QWidget* area = frame->parentWidget();
        const int width = area ? area->width() : frame->width();
        frame->move(qMax(0, (width - frame->width()) / 2), twips / 15);
        return;
    }
    CenterForm(form);
    form->move(form->x(), twips / 15);
}

void closeForm(QWidget* form) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        frame->close();
    else
        form->close();
}

} // namespace plax::archive
