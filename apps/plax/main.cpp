// PLAX, the office program.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PLAX"));
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Zelto-PLAX"));
    w.resize(1000, 700);
    w.show();
    return app.exec();
}
