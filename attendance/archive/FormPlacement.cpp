#include "FormPlacement.h"

#include "core/common/Common.h"

#include <QMdiSubWindow>

namespace plax::archive {

void placeForm(QWidget* form, int twips) { plax::placeForm(form, twips); }

void closeForm(QWidget* form) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        frame->close();
    else
        form->close();
}

} // namespace plax::archive
