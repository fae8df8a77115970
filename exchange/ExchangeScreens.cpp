#include "ExchangeScreens.h"

#include "Export.h"
#include "core/common/Screens.h"
#include "frmExpData.h"
#include "frmImport.h"

#include <QPointer>

namespace plax {
namespace exchange {
namespace {
QPointer<frmExpData> g_expData;
QPointer<frmImport> g_import;
} // namespace

QWidget* showExportScreen() { return showSingle<frmExpData>(g_expData); }
QWidget* showImportScreen() { return showSingle<frmImport>(g_import); }

} // namespace exchange

void registerExchangeScreens() {
    registerMenuHandler(QStringLiteral("mnuUtilitiesExportPers"), [] { exchange::showExportScreen(); });
    registerMenuHandler(QStringLiteral("mnuUtilitiesExportAtt"), [] { exchange::ExportAttendance(); });
    registerMenuHandler(QStringLiteral("mnuUtilitiesImportPer"), [] { exchange::showImportScreen(); });
}

} // namespace plax
