// PLAXClk, the clock terminal.
#include "clock/TerminalStart.h"
#include "core/common/Common.h"
#include "core/common/EndRequest.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PLAXClk"));
    QApplication::setApplicationVersion(QStringLiteral(PLAX_VERSION));
    plax::closeWindowsOnEndRequest();
    plax::clk::Main();
    return app.exec();
}
