// Both programs started as processes on a password-protected company file:
// the password is typed into the logon window through the window system's
// key events, and the program must come up and stay up, and close the file
// cleanly when asked to end.
#include "platform/registry/Registry.h"
#include "platform/registry/tests/TempRegistry.h"
#include "testing/ScreenEvents.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace plax;

namespace {

QStringList visibleWindows(const QString& report) {
    QFile f(report);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Starts `program` on the company file, types the password into its logon
// window and checks that `mainWindow` is shown and the program still runs a
// few seconds later.
void startWithPassword(const QString& program, const QString& mainWindow) {
    SCOPED_TRACE(program.toStdString());
    test::TempRegistry registry;
    QTemporaryDir dir;
    const QString company = dir.filePath(QStringLiteral("Protected.mdb"));
    ASSERT_EQ(QProcess::execute(QStringLiteral(PLAX_PROGRAM_DIR "/mkcompany"),
                                {company, QStringLiteral("--demo"), QStringLiteral("--password"),
                                 QStringLiteral("secret")}),
              0);
    ASSERT_TRUE(
        SaveWindowsSetting(kAppKey, QStringLiteral("Company Settings"), QStringLiteral("Database"), company));

    const QString report = dir.filePath(QStringLiteral("windows.txt"));
    const QString script = dir.filePath(QStringLiteral("keys.txt"));
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            QStringLiteral("report %1\nwaitfor frmLogon\ntype secret\nkey Return\n").arg(report).toUtf8());
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(PLAX_KEYSCRIPT_DIR));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("plaxkeyscript:") + script);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral(PLAX_PROGRAM_DIR "/") + program, {});
    ASSERT_TRUE(p.waitForStarted(-1));

    test::waitUntil(
        [&] { return visibleWindows(report).contains(mainWindow) || p.state() == QProcess::NotRunning; });
    EXPECT_TRUE(visibleWindows(report).contains(mainWindow))
        << "exit code " << p.exitCode() << ", windows: " << visibleWindows(report).join(' ').toStdString();
    // Still up a few seconds later, with the logon gone.
    EXPECT_FALSE(p.waitForFinished(3000)) << "ended with " << p.exitCode();
    EXPECT_TRUE(visibleWindows(report).contains(mainWindow));
    EXPECT_FALSE(visibleWindows(report).contains(QStringLiteral("frmLogon")));

    // Asked to end from outside (a logout, or ./run's screenshot), it closes
    // its windows and the company file as the user would: no journal left.
    p.terminate();
    EXPECT_TRUE(p.waitForFinished(-1));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_FALSE(QFile::exists(company + QStringLiteral("-wal")));
    EXPECT_FALSE(QFile::exists(company + QStringLiteral("-shm")));
    p.kill();
    p.waitForFinished(-1);
}

} // namespace

TEST(ProtectedStart, BothProgramsComeUpAfterTheRightPasswordAndEndCleanly) {
    startWithPassword(QStringLiteral("PLAXClk"), QStringLiteral("frmClock"));
    startWithPassword(QStringLiteral("PLAX"), QStringLiteral("frmMDI"));
}
