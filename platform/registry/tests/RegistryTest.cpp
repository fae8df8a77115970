#include "platform/registry/Registry.h"
#include "platform/registry/tests/TempRegistry.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace plax;

namespace {

QString readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(Registry, KeyIsSplitAtFirstBackslashBelowConfigHome) {
    test::TempRegistry r;
    EXPECT_EQ(reg::registryFile(), r.folder() + "/Morvu/ZELTO-PLAX/3.0/registry.ini");
    EXPECT_EQ(reg::registryFile("APP\\1.0\\x"), r.folder() + "/Morvu/APP/1.0\\x/registry.ini");
}

TEST(Registry, FirstRunWritesDefaultAndLaterReadsKeepStoredValue) {
    test::TempRegistry r;
    ui::ScriptedResponder boxes;
    EXPECT_FALSE(QFileInfo::exists(r.file()));
    EXPECT_EQ(GetWindowsSetting("Company Settings", "Database", "/opt/plax/Company07.mdb"),
              "/opt/plax/Company07.mdb");
    EXPECT_TRUE(readAll(r.file()).contains("Database=/opt/plax/Company07.mdb"));

    // Stored value wins over another default.
    EXPECT_EQ(GetWindowsSetting("Company Settings", "Database", "/elsewhere.mdb"), "/opt/plax/Company07.mdb");
    SaveWindowsSetting(kAppKey, "Company Settings", "Database", "/data/new path=x.mdb");
    EXPECT_EQ(GetWindowsSetting("company settings", "DATABASE", "d"), "/data/new path=x.mdb");
    EXPECT_TRUE(boxes.messages.empty());
}

TEST(Registry, ExistingSectionWithEmptyOrMissingValueReturnsDefaultWithoutWriting) {
    test::TempRegistry r;
    ui::ScriptedResponder boxes;
    writeAll(r.file(), "[Company Settings]\nDatabase=\n[Other]\nx=1\n");
    const QString before = readAll(r.file());
    EXPECT_EQ(GetWindowsSetting("Company Settings", "Database", "def.mdb"), "def.mdb");
    EXPECT_EQ(GetWindowsSetting("Other", "Missing", "dflt"), "dflt");
    EXPECT_EQ(readAll(r.file()), before);
    EXPECT_TRUE(boxes.messages.empty()); // a missing value has no message
}

TEST(Registry, LongValuesAreCutAndSectionsAndOtherValuesSurviveWrites) {
    test::TempRegistry r;
    ui::ScriptedResponder boxes;
    SaveWindowsSetting(kAppKey, "Communication Ports", "1", "/dev/ttyS0");
    SaveWindowsSetting(kAppKey, "Communication Ports", "2", "/dev/pts/7");
    SaveWindowsSetting(kAppKey, "Company Settings", "Database", QString(300, 'a'));
    EXPECT_EQ(GetWindowsSetting("Communication Ports", "1", ""), "/dev/ttyS0");
    EXPECT_EQ(GetWindowsSetting("Communication Ports", "2", ""), "/dev/pts/7");
    EXPECT_EQ(GetWindowsSetting("Company Settings", "Database", "").size(), reg::kMaxValueLength);
    // No temporary file is left beside the registry.
    EXPECT_EQ(QDir(QFileInfo(r.file()).path()).entryList(QDir::Files), QStringList{"registry.ini"});
}

TEST(Registry, FailuresShowTheirNumberedMessages) {
    test::TempRegistry r;
    {
        // A malformed file: the read reports a corrupt registry, the write refuses
        // to replace it.
        ui::ScriptedResponder boxes;
        writeAll(r.file(), "[Company Settings]\nthis line is no value\n");
        EXPECT_EQ(GetWindowsSetting("Company Settings", "Database", "d.mdb"), "d.mdb");
        SaveWindowsSetting(kAppKey, "Company Settings", "Database", "x");
        ASSERT_EQ(boxes.messages.size(), 2u);
        EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 9000");
        EXPECT_EQ(boxes.messages[0].text, "Corrupt Registry Database!");
        EXPECT_EQ(boxes.messages[0].icon, ui::Icon::Critical);
        EXPECT_EQ(boxes.beeps, 2);
        EXPECT_TRUE(readAll(r.file()).contains("this line is no value"));
    }
    {
        // The registry file is not a file: it cannot be opened.
        ui::ScriptedResponder boxes;
        QFile::remove(r.file());
        QDir().mkpath(r.file());
        EXPECT_EQ(GetWindowsSetting("Company Settings", "Database", "d.mdb"), "d.mdb");
        ASSERT_EQ(boxes.messages.size(), 1u);
        EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 9020");
        EXPECT_EQ(boxes.messages[0].text, "Cannot Open Key.");
        QDir().rmdir(r.file());
    }
    {
        ui::ScriptedResponder boxes;
        SaveWindowsSetting(kAppKey, "Bad]Section", "Database", "x");
        SaveWindowsSetting(kAppKey, "Company Settings", "Bad=Name", "x");
        SaveWindowsSetting(kAppKey, "Company Settings", "Database", "two\nlines");
        EXPECT_EQ(boxes.texts(), (QStringList{"Key name is bad!", "Invalid Parameter", "Invalid Parameter"}));
        EXPECT_EQ(boxes.messages[0].title, "Zelto Error#: 9010");
        EXPECT_EQ(boxes.messages[1].title, "Zelto Error#: 9060");
    }
    {
        // The folder cannot be made: a file stands where it should be.
        ui::ScriptedResponder boxes;
        QDir(r.folder() + "/Morvu/ZELTO-PLAX").removeRecursively();
        writeAll(r.folder() + "/Morvu/ZELTO-PLAX", "x");
        SaveWindowsSetting(kAppKey, "Company Settings", "Database", "x");
        EXPECT_EQ(boxes.texts(), QStringList{"Cannot Open Key."});
    }
    {
        ui::ScriptedResponder boxes;
        RegError(5);
        RegError(14);
        RegError(1013);
        RegError(2); // no message for this one
        EXPECT_EQ(boxes.texts(), (QStringList{"Acces to Registry Denied.", "Out of memory.", "Cannot Write Key."}));
        EXPECT_EQ(boxes.messages[2].title, "Zelto Error#: 9030");
    }
}
