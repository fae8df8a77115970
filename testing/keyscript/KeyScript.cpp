// A Qt input plugin for tests that start a program as a process: it types
// into the program's windows the way a keyboard does, through the window
// system's event path (QTest on a QWindow), and reports which windows are
// on the screen. The program itself carries nothing for this: Qt loads the
// plugin only when the test's environment names it:
//
//   QT_PLUGIN_PATH=<build>/tests/plugins
//   QT_QPA_GENERIC_PLUGINS=plaxkeyscript:<script file>
//
// Script lines, run one after the other:
//   waitfor NAME    wait until the focus window belongs to the top-level
//                   widget with the object name NAME (a busy machine may
//                   take long: the test's own timeout is the bound)
//   type TEXT       type TEXT into the focus window, one key at a time
//   key NAME        press one key: Return, Tab, Escape
//   report PATH     from now on write the object names of the visible
//                   top-level widgets to PATH, one a line, every 100 ms
// A script that waits long or cannot go on writes "keyscript: ..." to
// standard error.
#include <QApplication>
#include <QFile>
#include <QGenericPlugin>
#include <QSaveFile>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

QWidget* focusTopLevel() {
    QWindow* w = QGuiApplication::focusWindow();
    if (!w)
        return nullptr;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->windowHandle() == w)
            return t;
    return nullptr;
}

class KeyScript : public QObject {
public:
    explicit KeyScript(const QString& file) {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly | QIODevice::Text))
            lines_ = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        else
            std::fprintf(stderr, "keyscript: cannot read %s\n", qPrintable(file));
        // The application object is still being built: start once its event
        // loop runs.
        QTimer::singleShot(0, this, [this] { step(); });
    }

private:
    void step() {
        while (next_ < lines_.size()) {
            const QString line = lines_[next_].trimmed();
            const QString verb = line.section(QLatin1Char(' '), 0, 0);
            const QString arg = line.section(QLatin1Char(' '), 1);
            if (verb == QLatin1String("waitfor")) {
                QWidget* t = focusTopLevel();
                if (!t || t->objectName() != arg) {
                    if (++waited_ == 400) // 20 s
                        std::fprintf(stderr, "keyscript: still waiting for %s to have the focus\n",
                                     qPrintable(arg));
                    QTimer::singleShot(50, this, [this] { step(); });
                    return;
                }
                waited_ = 0;
            } else if (verb == QLatin1String("type")) {
                for (QChar c : arg)
                    if (QWindow* w = QGuiApplication::focusWindow())
                        QTest::keyClick(w, c.toLatin1());
            } else if (verb == QLatin1String("key")) {
                const Qt::Key k = arg == QLatin1String("Tab")      ? Qt::Key_Tab
                                  : arg == QLatin1String("Escape") ? Qt::Key_Escape
                                                                   : Qt::Key_Return;
                if (QWindow* w = QGuiApplication::focusWindow())
                    QTest::keyClick(w, k);
            } else if (verb == QLatin1String("report")) {
                report_ = arg;
                auto* t = new QTimer(this);
                connect(t, &QTimer::timeout, this, [this] { writeReport(); });
                t->start(100);
                writeReport();
            }
            ++next_;
        }
    }

    void writeReport() {
        QSaveFile f(report_);
        if (!f.open(QIODevice::WriteOnly))
            return;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->isVisible() && !t->objectName().isEmpty())
                f.write(t->objectName().toUtf8() + '\n');
        f.commit();
    }

    QStringList lines_;
    qsizetype next_ = 0;
    int waited_ = 0;
    QString report_;
};

} // namespace

class KeyScriptPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "KeyScript.json")
public:
    QObject* create(const QString& key, const QString& file) override {
        if (key.compare(QLatin1String("plaxkeyscript"), Qt::CaseInsensitive) != 0)
            return nullptr;
        return new KeyScript(file);
    }
};

#include "KeyScript.moc"
