#include "platform/help/HelpKey.h"
#include "platform/help/HelpViewer.h"
#include "platform/help/WinHelp.h"
#include "platform/ui/Dialogs.h"
#include "testing/ScreenEvents.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace plax::help;

namespace {

const char* kSample = R"(<html><head><title>Sample Help</title></head><body>
<section id="intro" data-keywords="start;welcome"><h1>Introduction</h1><p>See <a href="#setup">Setup</a>.</p></section>
<section id="setup" data-context="42" data-keywords="company"><h1>Setting &amp; up</h1><p>Back to <a href="#intro">start</a>.</p></section>
</body></html>)";

QString writeSample(const QTemporaryDir& dir) {
    const QString path = dir.path() + "/PLAX.hlp";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(kSample);
    return path;
}

} // namespace

TEST(HelpFile, TopicsTitlesKeywordsAndSearch) {
    const auto file = parseHelpFile(kSample);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->title, "Sample Help");
    ASSERT_EQ(file->topics.size(), 2u);
    EXPECT_EQ(file->topics[1].title, "Setting & up");
    EXPECT_EQ(file->byContext(42)->id, "setup");
    EXPECT_EQ(file->byContext(7), nullptr);
    const auto hits = file->search("s");
    ASSERT_EQ(hits.size(), 2u); // "Setting & up" and "start"
    EXPECT_EQ(hits[0].second, "setup");
    EXPECT_EQ(hits[1].second, "intro");
    EXPECT_FALSE(parseHelpFile("<html>no topics</html>"));
}

TEST(HelpFile, TheUserGuideReadsAndItsLinksResolve) {
    const auto guide = readHelpFile(QStringLiteral(PLAX_SOURCE_DIR) + "/help/PLAX.hlp");
    ASSERT_TRUE(guide);
    EXPECT_GE(guide->topics.size(), 5u);
    const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    // Every topic is reached from the contents, the first topic.
    QStringList listed;
    for (auto it = link.globalMatch(guide->topics.front().html); it.hasNext();)
        listed << it.next().captured(1);
    for (const Topic& t : guide->topics)
        EXPECT_TRUE(t.id == guide->topics.front().id || listed.contains(t.id)) << t.id.toStdString();
    for (const Topic& t : guide->topics) {
        EXPECT_FALSE(t.title.isEmpty()) << t.id.toStdString();
        // A context number names one topic only.
        if (t.context != 0) {
            EXPECT_EQ(guide->byContext(t.context)->id, t.id) << "context " << t.context;
        }
        for (auto it = link.globalMatch(t.html); it.hasNext();) {
            const QString target = it.next().captured(1);
            EXPECT_TRUE(guide->byId(target)) << t.id.toStdString() << " -> " << target.toStdString();
        }
    }
}

TEST(WinHelp, CommandsOpenTheViewerAndQuitClosesIt) {
    QTemporaryDir dir;
    const QString path = writeSample(dir);
    QWidget owner;
    plax::ui::ScriptedResponder boxes;
    EXPECT_FALSE(WinHelp(&owner, dir.path() + "/none.hlp", HELP_FINDER, 0));
    EXPECT_EQ(openViewer(), nullptr);
    EXPECT_EQ(boxes.texts(), QStringList{"Cannot open the help file " + dir.path() + "/none.hlp."});

    ASSERT_TRUE(WinHelp(&owner, path, HELP_FINDER, 0));
    QPointer<HelpViewer> v = static_cast<HelpViewer*>(openViewer(path));
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->windowTitle(), "Sample Help");
    EXPECT_EQ(v->tabs->currentIndex(), 0);
    EXPECT_EQ(v->lstContents->count(), 2);
    EXPECT_EQ(v->currentTopic(), "intro");

    // A link moves to its topic.
    emit v->txtTopic->anchorClicked(QUrl("#setup"));
    EXPECT_EQ(v->currentTopic(), "setup");

    // The search opens in the same viewer; typing narrows the list.
    ASSERT_TRUE(WinHelp(&owner, path, HELP_PARTIALKEY, 0));
    EXPECT_EQ(openViewer(path), v.data());
    EXPECT_EQ(v->tabs->currentIndex(), 1);
    v->txtSearch->setText("wel");
    ASSERT_EQ(v->lstSearch->count(), 1);
    emit v->txtSearch->returnPressed();
    EXPECT_EQ(v->currentTopic(), "intro");

    ASSERT_TRUE(WinHelp(&owner, path, HELP_CONTEXT, 42));
    EXPECT_EQ(v->currentTopic(), "setup");

    QWidget other;
    WinHelp(&other, path, HELP_QUIT, 0); // not its viewer
    EXPECT_TRUE(v);
    WinHelp(&owner, path, HELP_QUIT, 0);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(v);
    EXPECT_EQ(openViewer(), nullptr);
}

TEST(HelpViewer, AWordLeadingToSeveralTopicsNamesTheTopicOnEachLine) {
    const auto file = parseHelpFile(R"(<html><head><title>T</title></head><body>
<section id="a" data-keywords="clock"><h1>Punching in</h1></section>
<section id="b" data-keywords="clock"><h1>Clock settings</h1></section>
<section id="c" data-keywords="welcome"><h1>Start</h1></section>
</body></html>)");
    ASSERT_TRUE(file);
    QWidget owner;
    HelpViewer v(QStringLiteral("T.hlp"), *file, &owner);
    v.txtSearch->setText("clock");
    QStringList shown;
    for (int i = 0; i < v.lstSearch->count(); ++i)
        shown << v.lstSearch->item(i)->text();
    shown.sort();
    EXPECT_EQ(shown, QStringList({"Clock settings", "clock - Clock settings", "clock - Punching in"}));
    v.txtSearch->setText("wel");
    ASSERT_EQ(v.lstSearch->count(), 1);
    EXPECT_EQ(v.lstSearch->item(0)->text(), "welcome");
}

TEST(HelpKey, F1InAModalDialogOpensAViewerThatCanBeUsed) {
    QTemporaryDir dir;
    const QString path = writeSample(dir);
    installHelpKey(path, {{"QDialog", 42}});
    QWidget screen;
    screen.show();
    QDialog dialog(&screen);
    dialog.setModal(true);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_F1);
    QPointer<HelpViewer> v = static_cast<HelpViewer*>(openViewer(path));
    ASSERT_TRUE(v);
    EXPECT_EQ(v->currentTopic(), "setup");
    // The dialog stays open and modal, yet a click in the viewer works (a
    // click through the window system, which drops input to blocked windows).
    const QRect first = v->lstContents->visualItemRect(v->lstContents->item(0));
    QTest::mouseClick(v->windowHandle(), Qt::LeftButton, {},
                      v->lstContents->viewport()->mapTo(v.data(), first.center()));
    EXPECT_EQ(v->currentTopic(), "intro");
    EXPECT_TRUE(dialog.isVisible());
    v->close();
}

TEST(HelpViewer, EscapeAndCtrlWCloseIt) {
    QTemporaryDir dir;
    const QString path = writeSample(dir);
    QWidget owner;
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Escape, Qt::NoModifier}, {Qt::Key_W, Qt::ControlModifier}}) {
        ASSERT_TRUE(WinHelp(&owner, path, HELP_PARTIALKEY, 0));
        QPointer<HelpViewer> v = static_cast<HelpViewer*>(openViewer(path));
        ASSERT_TRUE(v);
        plax::test::showActive(v);
        QTest::keyClicks(QApplication::focusWidget(), "wel");
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        plax::test::waitUntil([&] { return !v; });
        EXPECT_EQ(openViewer(), nullptr);
    }
}
