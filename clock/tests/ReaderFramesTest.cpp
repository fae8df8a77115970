#include "clock/ReaderFrames.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace plax;
using namespace plax::clk;

namespace {
std::function<QString()> reads(QStringList more, int* calls = nullptr) {
    return [more, calls]() mutable {
        if (calls)
            ++*calls;
        return more.isEmpty() ? QString() : more.takeFirst();
    };
}
} // namespace

TEST(ReaderFrames, Msr100) {
    EXPECT_EQ(cutMsr100Frame(""), std::nullopt);
    EXPECT_EQ(cutMsr100Frame("%B123^X?;1234?xyz"), "1234");
    EXPECT_EQ(cutMsr100Frame("noise;1234?trail;9?"), "1234");
    EXPECT_EQ(cutMsr100Frame("1234"), "1234");   // no markers: the whole text
    EXPECT_EQ(cutMsr100Frame(";1234"), "1234");  // no "?": to the end
    EXPECT_EQ(cutMsr100Frame("1234?zz"), "1234");
    EXPECT_EQ(cutMsr100Frame(";?"), "");         // looked up, and refused, as read
}

TEST(ReaderFrames, Rs2000CarriageReturnAndSecondRead) {
    int calls = 0;
    EXPECT_EQ(cutRs2000Frame(";1234?\r", reads({}, &calls)), "1234");
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(cutRs2000Frame("xx;1234?", reads({})), "1234");
    // Split over two reads: the "?" arrives in the second.
    EXPECT_EQ(cutRs2000Frame(";12", reads({"34?\r"}, &calls)), "1234");
    EXPECT_EQ(calls, 1);
    // No "?" in either read: the text after ";" and the second read, uncut.
    EXPECT_EQ(cutRs2000Frame(";12", reads({"34"})), "1234");
    EXPECT_EQ(cutRs2000Frame(";12", reads({})), "12");
}

TEST(ReaderFrames, Rs2000SkipsEmptyReadsAndTheNFrame) {
    EXPECT_EQ(cutRs2000Frame("", reads({"x"})), std::nullopt);
    EXPECT_EQ(cutRs2000Frame("\r", reads({"x"})), std::nullopt); // only the carriage return
    EXPECT_EQ(cutRs2000Frame(";N?\r", reads({})), std::nullopt);
    EXPECT_EQ(cutRs2000Frame(";N", reads({"?\r"})), std::nullopt);
    EXPECT_EQ(cutRs2000Frame(";NN?", reads({})), "NN");
}

TEST(ReaderFrames, BufferTakesOneFrameAtATimeWithItsMinute) {
    const DateTimeMin nine{CalDate::ymd(2024, 1, 8), TimeOfDay::fromMinutes(540)};
    const DateTimeMin later{nine.date, TimeOfDay::fromMinutes(541)};
    ReaderBuffer b;
    // Two swipes with noise before and after, then half of a third.
    b.append("%B1^X?;1234?xy%B2^Y?;5", nine);
    b.append("678?\r;9", later);
    auto f = b.takeFrame();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->text, "%B1^X?;1234?xy%B2^Y?");
    EXPECT_EQ(f->at, nine);
    EXPECT_EQ(cutMsr100Frame(f->text), "1234");
    f = b.takeFrame();
    EXPECT_EQ(f->text, ";5678?\r");
    EXPECT_EQ(f->at, nine); // its first character came with the first read
    f = b.takeFrame();
    EXPECT_EQ(f->text, ";9");
    EXPECT_EQ(f->at, later);
    EXPECT_TRUE(b.isEmpty());
    EXPECT_EQ(b.takeFrame(), std::nullopt);

    // The rest of a split frame stops where the next frame begins.
    b.append("9?\r;77?\r", later);
    EXPECT_EQ(b.takeRest(), "9?\r");
    EXPECT_EQ(b.takeFrame()->text, ";77?\r");
    // No text without markers is lost.
    b.append("4321", nine);
    EXPECT_EQ(b.takeFrame()->text, "4321");
}
