// The terminal and the office program on one database file at once: the
// office imports a large punch file in another process while employees
// punch at the terminal. Every punch is recorded exactly once.
#include "ClockFixture.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QThread>
#include <tuple>
#include <vector>

using namespace plax;
using namespace plax::test;

class TwoPrograms : public ClockTest {};

TEST_F(TwoPrograms, TheTerminalRecordsWhileTheOfficeImportsALargeFile) {
    setting("Company Settings", "RoundTotal", "0");
    constexpr int kImported = 300, kDays = 80, kAtTerminal = 12;
    {
        db::Database::Transaction tx(db());
        for (int e = 0; e < kImported; ++e)
            employee(QString::number(7000 + e), "Imported", QStringLiteral("000"));
        for (int e = 0; e < kAtTerminal; ++e)
            employee(QStringLiteral("T%1").arg(e), "Terminal", QStringLiteral("000"));
        tx.commit();
    }
    const QString data = company->dir() + "Data/";
    QDir().mkpath(data);
    {
        QFile f(data + "Clock.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const CalDate first = CalDate::ymd(2024, 2, 5);
        for (int day = 0; day < kDays; ++day)
            for (int e = 0; e < kImported; ++e)
                f.write(QStringLiteral("%1,%2,07:30\r\n%1,%2,15:45\r\n")
                            .arg(7000 + e)
                            .arg(first.addDays(day).toMdy2())
                            .toLatin1());
    }
    auto& w = openWindow();

    QProcess office;
    office.start(QStringLiteral(PLAX_IMPORT_RUNNER), {company->path(), data});
    ASSERT_TRUE(office.waitForStarted(-1));
    ASSERT_TRUE(office.waitForReadyRead(-1));
    ASSERT_EQ(office.readLine().trimmed(), QByteArray("importing"));
    // The office waits after its first batch until the first round is
    // punched, so at least one round falls inside the import however busy
    // the machine is; the later rounds meet the running import.
    while (!office.canReadLine() && office.state() == QProcess::Running)
        ASSERT_TRUE(office.waitForReadyRead(-1));
    ASSERT_EQ(office.readLine().trimmed(), QByteArray("batch"));

    // Each round every terminal employee punches once, a minute apart:
    // in, out, in, out, ... on Monday 7 January 2030 from 06:00.
    std::vector<std::tuple<QString, int>> punched;
    int roundsWhileImporting = 0;
    for (int round = 0; round < 240; ++round) {
        // Polls the office process (its end is noticed only when asked).
        const bool importing = !office.waitForFinished(0) && office.state() == QProcess::Running;
        if (!importing && roundsWhileImporting > 0 && round % 2 == 0)
            break;
        if (importing)
            ++roundsWhileImporting;
        setNow(2030, 1, 7, 6 + round / 60, round % 60);
        for (int e = 0; e < kAtTerminal; ++e) {
            const QString id = QStringLiteral("T%1").arg(e);
            punch(id);
            punched.emplace_back(id, 6 * 60 + round);
        }
        if (round == 0) {
            office.write("go\n");
            ASSERT_TRUE(office.waitForBytesWritten(-1));
        }
        QThread::msleep(10); // people come one after the other
    }
    if (office.state() != QProcess::NotRunning) {
        ASSERT_TRUE(office.waitForFinished(-1));
    }
    EXPECT_EQ(office.exitCode(), 0) << office.readAllStandardError().toStdString();
    EXPECT_EQ(office.readAllStandardOutput().trimmed(), QByteArray("Clock data was imported successfully!"));
    EXPECT_GE(roundsWhileImporting, 1);
    EXPECT_TRUE(boxes.messages.empty()) << boxes.texts().join(" / ").toStdString();

    // Every terminal punch exactly once, as a clock-in or as a clock-out.
    for (const auto& [id, minute] : punched) {
        const QString t = TimeOfDay::fromMinutes(minute).toHm();
        EXPECT_EQ(rowCount("EmpID = ? AND ((TDate = '2030-01-07' AND ClockIn = ?) OR "
                           "(DateOut = '2030-01-07' AND ClockOut = ?))",
                           {id, t, t}),
                  1)
            << id.toStdString() << " " << t.toStdString();
    }
    const int rounds = int(punched.size()) / kAtTerminal;
    EXPECT_EQ(rowCount("EmpID LIKE 'T%' AND ClockOut IS NOT NULL AND TotalHrs * 60 + TotalMin = 1"),
              kAtTerminal * (rounds / 2));
    EXPECT_EQ(rowCount("EmpID LIKE 'T%'"), kAtTerminal * ((rounds + 1) / 2));
    EXPECT_EQ(rowCount("EmpID NOT LIKE 'T%' AND ClockIn = '07:30' AND ClockOut = '15:45'"), kImported * kDays);
    EXPECT_EQ(rowCount(), kImported * kDays + kAtTerminal * ((rounds + 1) / 2));
    EXPECT_EQ(w.lstLog()->count(), int(punched.size()));
}
