// PLAX, the office program.
#include "attendance/AttendanceScreens.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PLAX"));
    plax::registerAttendanceScreens();
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Zelto-PLAX"));
    w.resize(1000, 700);
    w.show();
    return app.exec();
}
