#include "attendance/ClockFile.h"
#include "attendance/ClockImport.h"
#include "attendance/LineReader.h"
#include "core/common/Common.h"
#include "platform/ui/Dialogs.h"
#include "testing/KillMidWrite.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace plax;

namespace {

std::string conv(const char* line) {
    const auto r = convertPunchLine(QString::fromLatin1(line));
    return r ? r->toStdString() : std::string("<skipped>");
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// A download that fails half way, as one from a stick pulled out does: the
// master side of a pseudo-terminal, to which a thread writes `bytes` from
// the other side and then closes it. Reading gives those bytes, then an I/O
// error.
class FailingDownload {
public:
    explicit FailingDownload(QByteArray bytes) {
        termios raw{};
        cfmakeraw(&raw);
        int slave = -1;
        if (::openpty(&master_, &slave, nullptr, &raw, nullptr) != 0)
            return;
        writer_ = std::thread([slave, bytes = std::move(bytes)] {
            // Stops early only when the reading side is gone.
            for (qsizetype done = 0, n = 0; done < bytes.size() && n >= 0; done += n)
                n = ::write(slave, bytes.constData() + done, size_t(bytes.size() - done));
            ::close(slave);
        });
        file_.open(master_, QIODevice::ReadOnly);
    }
    ~FailingDownload() {
        file_.close();
        ::close(master_); // a writer still blocked gets its error
        if (writer_.joinable())
            writer_.join();
    }
    QFile& file() { return file_; }

private:
    int master_ = -1;
    std::thread writer_;
    QFile file_;
};

} // namespace

TEST(ClockFile, TheThreeLayouts) {
    EXPECT_EQ(conv("X,01/17/05 07:58 xxx1042      "), "1042,01/17/05,07:58");
    EXPECT_EQ(conv("1042,01/17/05 07:58:30"), "1042,01/17/05,07:58");
    EXPECT_EQ(conv("01/17/05 07:58    ABCDEFGHIJ"), "ABCDEFGH,01/17/05,07:58");
    // A line that fits A and B is taken as A.
    EXPECT_EQ(conv("X,01/17/05 07:58 xxx1042 12:00:00"), "1042 12:00:00,01/17/05,07:58");
    // Leading zeros and inner blanks of an ID are kept; trailing blanks go.
    EXPECT_EQ(conv("0042 ,02/29/24 23:59:59"), "0042,02/29/24,23:59");
}

TEST(ClockFile, LinesThatAreSkipped) {
    EXPECT_EQ(conv("X,13/45/05 07:58 xxx1042"), "<skipped>"); // no such date
    EXPECT_EQ(conv("1042,02/30/05 07:58:30"), "<skipped>");
    EXPECT_EQ(conv(""), "<skipped>");
    EXPECT_EQ(conv("Header of the clock's download"), "<skipped>");
    EXPECT_EQ(conv("1042 01/17/05 07:58:30"), "<skipped>"); // layout B without a comma
    EXPECT_EQ(conv("01/17/05"), "<skipped>");               // layout C without a blank
}

TEST(ClockFile, ConversionWritesClockTxtAnew) {
    QTemporaryDir dir;
    const QString app = dir.path() + QLatin1Char('/');
    const QString data = app + QStringLiteral("Data/");
    QDir().mkpath(data);
    const QString source = data + QStringLiteral("download.txt");
    // A malformed line in the middle does not stop the rest of the file.
    writeFile(source, "1042,01/17/05 07:58:30\r\n"
                      "1042 01/17/05 12:00:30\r\n"
                      "01/17/05\n"
                      "X,13/45/05 07:58 xxx1042\r\n"
                      "X,01/17/05 16:02 xxx1042\r\n");
    writeFile(data + QStringLiteral("Clock.txt"), "old,01/01/05,08:00\r\n");

    ui::ScriptedResponder r;
    r.files.push_back(source);
    EXPECT_EQ(ConvertClockFile(app, data), Conversion::Done);
    EXPECT_EQ(readAll(data + QStringLiteral("Clock.txt")), QByteArray("1042,01/17/05,07:58\r\n1042,01/17/05,16:02\r\n"));
    ASSERT_EQ(r.fileRequests.size(), 1u);
    EXPECT_EQ(r.fileRequests[0].initialDir, app + QStringLiteral("Data"));
    EXPECT_EQ(r.fileRequests[0].filter, QStringLiteral("Text Files (*.txt)|*.TXT| Log Files (*.log)|*.LOG"));
    EXPECT_FALSE(r.fileRequests[0].save);

    // Cancel leaves the file as it is.
    EXPECT_EQ(ConvertClockFile(app, data), Conversion::Cancelled);
    EXPECT_EQ(readAll(data + QStringLiteral("Clock.txt")), QByteArray("1042,01/17/05,07:58\r\n1042,01/17/05,16:02\r\n"));

    // An empty download gives an empty Clock.txt.
    writeFile(source, "");
    r.files.push_back(source);
    EXPECT_EQ(ConvertClockFile(app, data), Conversion::Done);
    EXPECT_EQ(readAll(data + QStringLiteral("Clock.txt")), QByteArray());

    EXPECT_TRUE(r.messages.empty());
    // A file that cannot be opened: named in a message, Clock.txt untouched.
    r.files.push_back(data + QStringLiteral("missing.txt"));
    EXPECT_EQ(ConvertClockFile(app, data), Conversion::Unreadable);
    EXPECT_EQ(readAll(data + QStringLiteral("Clock.txt")), QByteArray());
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_TRUE(r.messages[0].text.contains(QDir::toNativeSeparators(data + QStringLiteral("missing.txt"))));
    EXPECT_FALSE(ui::waitCursorShown());
}

// Files from older clocks end their lines with CR alone; CR, LF and CR LF
// each end a line, in the download and in Clock.txt.
TEST(ClockFile, EveryKindOfLineEndEndsALine) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("download.txt"));
    const QString target = dir.filePath(QStringLiteral("Clock.txt"));
    writeFile(source, "1042,01/17/05 07:58:30\r1042,01/17/05 12:00:00\n1042,01/17/05 12:30:00\r\n"
                      "1042,01/17/05 16:02:00\r");
    ASSERT_EQ(convertPunchFile(source, target), Conversion::Done);
    EXPECT_EQ(readAll(target), QByteArray("1042,01/17/05,07:58\r\n1042,01/17/05,12:00\r\n1042,01/17/05,12:30\r\n"
                                          "1042,01/17/05,16:02\r\n"));

    writeFile(target, "7,01/17/05,07:58\r7,01/17/05,12:00\n7,01/17/05,12:30\r\n\r\r7,01/17/05,16:02");
    const auto punches = readClockFile(target);
    ASSERT_EQ(punches.size(), 4u);
    EXPECT_EQ(punches[0].time, TimeOfDay::fromHm(7, 58));
    EXPECT_EQ(punches[3].id, QStringLiteral("7"));
    EXPECT_EQ(punches[3].time, TimeOfDay::fromHm(16, 2));
}

// A line too long to be a punch is skipped without being kept in memory;
// the lines around it are read.
TEST(ClockFile, AnOverlongLineIsSkipped) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("download.txt"));
    const QString target = dir.filePath(QStringLiteral("Clock.txt"));
    const QByteArray huge = "1042," + QByteArray(3 * LineReader::kMaxLineChars, '9') + ",01/17/05 07:58:30";
    writeFile(source, "1042,01/17/05 07:58:30\r\n" + huge + "\r\n1042,01/17/05 16:02:00\r\n" + huge);
    ASSERT_EQ(convertPunchFile(source, target), Conversion::Done);
    EXPECT_EQ(readAll(target), QByteArray("1042,01/17/05,07:58\r\n1042,01/17/05,16:02\r\n"));

    writeFile(target, "7,01/17/05,07:58\r\n" + QByteArray(LineReader::kMaxLineChars + 1, '7') +
                          ",01/17/05,12:00\r\n7,01/17/05,16:02\r\n");
    const auto punches = readClockFile(target);
    ASSERT_EQ(punches.size(), 2u);
    EXPECT_EQ(punches[1].time, TimeOfDay::fromHm(16, 2));
}

// The program ended (kill -9) while it converts a large download: Clock.txt
// is still the earlier conversion, whole, for the import that follows.
TEST(ClockFile, AKillMidConversionLeavesTheEarlierFileWhole) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("download.txt"));
    const QString target = dir.filePath(QStringLiteral("Clock.txt"));
    QByteArray download;
    for (int i = 0; i < 200000; ++i)
        download += QByteArray::number(i) + ",01/17/05 07:58:30\r\n";
    writeFile(source, download);
    const QByteArray earlier = "1042,01/17/05,07:58\r\n1042,01/17/05,16:02\r\n";
    writeFile(target, earlier);

    QString why;
    ASSERT_TRUE(test::killMidWrite(QStringLiteral(PLAX_CONVERT_CHILD), {source, target}, 256 * 1024, &why))
        << why.toStdString();
    EXPECT_EQ(readAll(target), earlier);
    EXPECT_EQ(readClockFile(target).size(), 2u);
}

// A read error anywhere in the download (the stick pulled, the share gone)
// keeps the earlier Clock.txt, whether it comes in the pass that finds the
// encoding (no byte-order mark), 1 MB into the conversion's own reading, or
// at once; nothing of the part read is taken for the whole file.
TEST(ClockFile, AReadErrorAnywhereLeavesTheEarlierFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("Clock.txt"));
    const QByteArray earlier = "1042,01/17/05,07:58\r\n1042,01/17/05,16:02\r\n";
    writeFile(target, earlier);
    QByteArray megabyte;
    while (megabyte.size() < 1024 * 1024)
        megabyte += "1042,01/18/05 07:58:30\r\n";
    for (const QByteArray& bytes : {megabyte, "\xEF\xBB\xBF" + megabyte, QByteArray()}) {
        FailingDownload download(bytes);
        ASSERT_TRUE(download.file().isOpen());
        EXPECT_EQ(convertPunchFile(download.file(), target), Conversion::Unreadable) << bytes.size();
        EXPECT_EQ(readAll(target), earlier) << bytes.size();
    }
}

// A download cut short inside a character of its last line is read in the
// encoding it was written in; only the cut line is skipped, in UTF-8 with or
// without a byte-order mark and in UTF-16.
TEST(ClockFile, ADownloadCutInsideItsLastCharacterKeepsItsEncoding) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("download.txt"));
    const QString target = dir.filePath(QStringLiteral("Clock.txt"));
    const QString text = QStringLiteral("01/16/24 08:00    JOS\u00c9\r\n"
                                        "M\u00dcLLER,01/16/24 08:05:00\r\n"
                                        "X,01/16/24 08:10    NO\u00cbL\r\n"
                                        "01/16/24 16:00    M\u00dc"); // cut here, inside the "Ü"
    const auto cut = [&text](QStringConverter::Encoding e) {
        QByteArray bytes = QStringEncoder(e).encode(text);
        bytes.chop(1);
        return bytes;
    };
    const std::pair<const char*, QByteArray> files[] = {
        {"UTF-8", cut(QStringConverter::Utf8)},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + cut(QStringConverter::Utf8)},
        {"UTF-16LE", "\xFF\xFE" + cut(QStringConverter::Utf16LE)},
    };
    for (const auto& [name, bytes] : files) {
        writeFile(source, bytes);
        ASSERT_EQ(convertPunchFile(source, target), Conversion::Done) << name;
        EXPECT_EQ(QString::fromUtf8(readAll(target)),
                  QStringLiteral("JOS\u00c9,01/16/24,08:00\r\nM\u00dcLLER,01/16/24,08:05\r\nNO\u00cbL,01/16/24,08:10\r\n"))
            << name;
    }
}
