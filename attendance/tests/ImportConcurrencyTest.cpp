#include "ImportTestSupport.h"
#include "attendance/ClockImport.h"
#include "platform/ui/Dialogs.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace plax;

// A clock terminal (another process) records punches into the same file
// while a large import runs: nothing is lost and nobody sees a lock error.
TEST(ImportConcurrency, ATerminalWritesWhileALargeImportRuns) {
    test::ImportCompany c;
    constexpr int kEmployees = 300, kDays = 60;
    QStringList ids;
    for (int e = 0; e < kEmployees; ++e)
        ids << QString::number(5000 + e);
    c.addEmployees(ids);
    c.addEmployees({QStringLiteral("T1")});
    QByteArray file;
    const CalDate first = CalDate::ymd(2024, 1, 1);
    for (int day = 0; day < kDays; ++day)
        for (const QString& id : ids)
            file += QStringLiteral("%1,%2,07:30\r\n%1,%2,15:45\r\n").arg(id, first.addDays(day).toMdy2()).toLatin1();
    c.writeClockTxt(file);

    const auto terminalShifts = [&c] {
        return c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE EmpID = 'T1'"));
    };
    const QString stopFile = c.dir() + QStringLiteral("stop");
    QProcess terminal;
    terminal.start(QStringLiteral(PLAX_PUNCH_WRITER), {c.path(), QStringLiteral("T1"), stopFile});
    ASSERT_TRUE(terminal.waitForStarted(-1));
    ASSERT_TRUE(terminal.waitForReadyRead(-1));
    ASSERT_EQ(terminal.readLine().trimmed(), QByteArray("ready"));
    while (terminalShifts() < 5 && terminal.state() == QProcess::Running)
        terminal.waitForFinished(5); // notices the terminal's end too

    const int before = terminalShifts();
    ui::ScriptedResponder r;
    // After its first batch the import waits until the terminal has recorded
    // a new shift (or has ended). That can only happen if the import let go of
    // the lock between its batches; whether the terminal also gets in during
    // the import's own short pauses depends on how busy the machine is, so
    // it is not a condition here.
    int duringImport = -1;
    const auto firstBatch = [&](int done, int total) {
        if (duringImport >= 0 || done == total)
            return;
        while (terminalShifts() <= before && terminal.state() == QProcess::Running)
            terminal.waitForFinished(2); // notices the terminal's end too
        duringImport = terminalShifts();
    };
    EXPECT_TRUE(ImportClockData(c.db(), c.settings, c.dataPath(), firstBatch));
    EXPECT_EQ(r.texts(), QStringList{QStringLiteral("Clock data was imported successfully!")});
    // The terminal went on recording while the import ran.
    EXPECT_GT(duringImport, before);
    EXPECT_GE(terminalShifts(), duringImport);

    QFile(stopFile).open(QIODevice::WriteOnly);
    ASSERT_TRUE(terminal.waitForFinished(-1));
    const QByteArray log = terminal.readAllStandardError();
    EXPECT_EQ(terminal.exitCode(), 0) << log.toStdString();
    std::printf("terminal: %s", log.constData());
    const int punches = terminal.readAllStandardOutput().trimmed().toInt();

    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE EmpID <> 'T1' AND "
                                     "ClockOut = '15:45' AND TotalHrs = 8 AND TotalMin = 15")),
              kEmployees * kDays);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance] WHERE EmpID = 'T1' AND "
                                     "ClockOut = '16:00'")),
              punches / 2);
    EXPECT_EQ(c.count(QStringLiteral("SELECT count(*) FROM [Time Attendance]")),
              kEmployees * kDays + (punches + 1) / 2);
}
