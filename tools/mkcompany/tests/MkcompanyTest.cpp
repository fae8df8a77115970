// mkcompany as the user runs it: a process in a folder of its own.
#include "platform/db/Database.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int code = -1;
    QString out, err;
};

Outcome mkcompany(const QString& folder, const QStringList& args) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral(PLAX_MKCOMPANY), args);
    p.waitForFinished(-1);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(Mkcompany, HelpAndUnknownOptionsNeverMakeAFile) {
    QTemporaryDir dir;
    for (const char* help : {"--help", "-h"}) {
        const Outcome r = mkcompany(dir.path(), {QString::fromLatin1(help)});
        EXPECT_EQ(r.code, 0) << help;
        for (const char* word : {"usage: mkcompany PATH", "--demo", "--password SECRET", "--if-missing"})
            EXPECT_TRUE(r.out.contains(QLatin1String(word))) << help << " " << word;
    }
    // Help wins wherever it stands.
    EXPECT_EQ(mkcompany(dir.path(), {"Acme.mdb", "--help"}).code, 0);

    const Outcome unknown = mkcompany(dir.path(), {"--demmo", "Acme.mdb"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_TRUE(unknown.err.contains("unknown option: --demmo")) << unknown.err.toStdString();
    EXPECT_EQ(mkcompany(dir.path(), {"Acme.mdb", "--password"}).code, 2);
    EXPECT_EQ(mkcompany(dir.path(), {"Acme.mdb", "Other.mdb"}).code, 2);
    EXPECT_EQ(mkcompany(dir.path(), {}).code, 2);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());

    // The ordinary road still works, and "--" lets a name start with "-".
    EXPECT_EQ(mkcompany(dir.path(), {"--password", "s3cret", "Acme.mdb"}).code, 0);
    EXPECT_NO_THROW(plax::db::Database::open(dir.filePath("Acme.mdb"), false, false, ";pwd=s3cret"));
    EXPECT_EQ(mkcompany(dir.path(), {"Acme.mdb"}).code, 1);
    EXPECT_EQ(mkcompany(dir.path(), {"Acme.mdb", "--if-missing"}).code, 0);
    EXPECT_EQ(mkcompany(dir.path(), {"--", "-odd.mdb"}).code, 0);
    const Outcome noFolder = mkcompany(dir.path(), {"acme/Acme.mdb"});
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_TRUE(noFolder.err.contains("the folder " + dir.filePath("acme") + " does not exist"));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("-odd.mdb")));
}
