#include "platform/ui/Dialogs.h"
#include "platform/ui/Progress.h"
#include "testing/ScreenEvents.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace plax::ui;

TEST(Dialogs, ScriptedResponderRecordsAndAnswers) {
    ScriptedResponder r;
    r.answers.push_back(Answer::No);
    r.inputs.push_back(QStringLiteral("2024"));
    EXPECT_EQ(MsgBox(QStringLiteral("Delete?"), Buttons::YesNo, Icon::Question), Answer::No);
    EXPECT_EQ(MsgBox(QStringLiteral("Done")), Answer::OK); // empty queue: first button
    EXPECT_EQ(InputBox(QStringLiteral("Enter Year (yyyy) :")), QStringLiteral("2024"));
    EXPECT_EQ(InputBox(QStringLiteral("Again")), QString()); // Cancel reads as empty
    EXPECT_FALSE(InputBoxEx(QStringLiteral("Again")).has_value());
    Beep();
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].icon, Icon::Question);
    EXPECT_EQ(r.messages[0].title, appTitle());
    EXPECT_EQ(r.beeps, 1);
    EXPECT_EQ(r.texts(), QStringList({QStringLiteral("Delete?"), QStringLiteral("Done")}));
}

TEST(Dialogs, ResponderIsRestoredAfterATest) {
    Responder* before = responder();
    {
        ScriptedResponder r;
        EXPECT_EQ(responder(), &r);
    }
    EXPECT_EQ(responder(), before);
}

TEST(Dialogs, FilterStringsBecomeQtFilters) {
    EXPECT_EQ(vbFilterToQt(QStringLiteral("Text Files (*.txt)|*.TXT| Log Files (*.log)|*.LOG|All Files (*.*)|*.*")),
              QStringList({QStringLiteral("Text Files (*.txt)"), QStringLiteral(" Log Files (*.log)"),
                           QStringLiteral("All Files (*.*)")}));
    EXPECT_EQ(vbFilterToQt(QStringLiteral("Pictures|*.bmp;*.dib")), QStringList({QStringLiteral("Pictures (*.bmp *.dib)")}));
}

namespace {

// Runs `answer` on the modal box of type T once it is shown.
template <typename T>
void whenShown(std::function<void(T*)> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* box = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(box);
        }
    });
    poll->start(10);
}

} // namespace

// The program's own windows: the input box where it was asked for, the file
// dialog listing every caption as written and the files by their patterns.
TEST(Dialogs, RealBoxesShowWhereAndWhatTheyAreAsked) {
    QPoint at;
    whenShown<QInputDialog>([&at](QInputDialog* box) {
        at = box->pos();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box->focusWidget(), QStringLiteral("2025"));
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(InputBox(QStringLiteral("Enter Year (yyyy) :"), QStringLiteral("Holidays Listing Report"),
                       QStringLiteral("2026"), QPoint(2000, 2000)),
              QStringLiteral("2025"));
    EXPECT_EQ(at, QGuiApplication::primaryScreen()->geometry().topLeft() + QPoint(133, 133));

    QTemporaryDir dir;
    FileRequest r;
    r.initialDir = dir.path();
    r.filter = QStringLiteral("Text Files (*.txt)|*.TXT| Log Files (*.log)|*.LOG|All Files (*.*)|*.*");
    QStringList captions, shownPatterns;
    whenShown<QFileDialog>([&](QFileDialog* dlg) {
        captions = dlg->nameFilters();
        auto* model = dlg->findChild<QFileSystemModel*>();
        auto* types = dlg->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_TRUE(model && types);
        shownPatterns << model->nameFilters().join(' ');
        for (int i = 1; i < types->count(); ++i) {
            QTest::keyClick(types, Qt::Key_Down);
            shownPatterns << model->nameFilters().join(' ');
        }
        dlg->reject();
    });
    EXPECT_EQ(ShowFileDialog(r), QString());
    // (The dialog drops a caption's leading blank.)
    EXPECT_EQ(captions, (QStringList{"Text Files (*.txt)", "Log Files (*.log)", "All Files (*.*)"}));
    EXPECT_EQ(shownPatterns, (QStringList{"*.TXT", "*.LOG", "*"}));
}

TEST(Dialogs, WaitCursorNests) {
    EXPECT_FALSE(waitCursorShown());
    {
        WaitCursor a;
        {
            WaitCursor b;
            EXPECT_TRUE(waitCursorShown());
        }
        EXPECT_TRUE(waitCursorShown());
    }
    EXPECT_FALSE(waitCursorShown());
}

// A screen whose first show starts long work that puts up its progress bar
// and takes it down (as the attendance report's hours run does on a busy
// machine): a test waits until the screen is the active window again, with
// the focus in its box, however long the work took.
TEST(ScreenEvents, AScreenIsActiveOnceTheBarItsShowPutUpHasGone) {
    class Screen : public QWidget {
      protected:
        void showEvent(QShowEvent* event) override {
            QWidget::showEvent(event);
            QTimer::singleShot(0, this, [this] {
                const auto progress = progressBar(this, QStringLiteral("Work"), 1);
                for (int done = 0; done <= 3; ++done)
                    progress(done, 3);
            });
        }
    } screen;
    auto* box = new QLineEdit(&screen);
    int bars = 0;
    QTimer seen;
    QObject::connect(&seen, &QTimer::timeout, [&] { bars += QApplication::activeModalWidget() != nullptr; });
    seen.start(0);
    plax::test::showActive(&screen);
    EXPECT_GT(bars, 0);
    EXPECT_EQ(QApplication::focusWidget(), box);
}
