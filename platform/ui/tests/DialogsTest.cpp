#include "platform/ui/Dialogs.h"

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
    EXPECT_EQ(vbFilterToQt(QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*")),
              QStringList({QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*)")}));
    EXPECT_EQ(vbFilterToQt(QStringLiteral("Pictures|*.bmp;*.dib")), QStringList({QStringLiteral("Pictures (*.bmp *.dib)")}));
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
