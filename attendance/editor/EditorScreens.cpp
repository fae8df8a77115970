#include "EditorScreens.h"

#include "attendance/archive/frmArchive.h"
#include "attendance/archive/frmUnarchive.h"
#include "core/common/Screens.h"
#include "frmDataSheetEdit.h"

#include <QPointer>

namespace plax::editor {
namespace {
QPointer<frmDataSheetEdit> g_editor;
QPointer<archive::frmArchive> g_archive;
QPointer<archive::frmUnarchive> g_unarchive;
} // namespace

QWidget* showClockDataEditor() {
    try {
        return showSingle<frmDataSheetEdit>(g_editor);
    } catch (const std::exception&) {
        return nullptr; // any error while showing is ignored
    }
}

QWidget* showArchive() { return showSingle<archive::frmArchive>(g_archive); }
QWidget* showUnarchive() { return showSingle<archive::frmUnarchive>(g_unarchive); }

void registerClockDataScreens() {
    registerMenuHandler(QStringLiteral("mnuClkDataEditClkData"), [] { showClockDataEditor(); });
    registerMenuHandler(QStringLiteral("mnuUtilitiesArchive"), [] { showArchive(); });
    registerMenuHandler(QStringLiteral("mnuUtilitiesUnarchive"), [] { showUnarchive(); });
}

} // namespace plax::editor
