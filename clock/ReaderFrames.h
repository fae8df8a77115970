#pragma once
// Cutting the employee ID out of what a badge reader sent: the ID stands
// between the first ";" and the first "?" after it.

#include "core/types/Dates.h"

#include <QString>
#include <deque>
#include <functional>
#include <optional>

namespace plax::clk {

// MSR100: nullopt (nothing to do) for an empty read; otherwise the text
// after the first ";" (all of it without one), up to the first "?" (to the
// end without one).
std::optional<QString> cutMsr100Frame(QString s);

// RS2000: when the text holds a carriage return its last character is
// dropped; an empty text gives nullopt. Then the text after the first ";";
// when no "?" follows, `readMore()` is appended (the frame may arrive in two
// reads) before cutting at the first "?" (uncut when there is still none).
// A frame whose ID is "N" gives nullopt.
std::optional<QString> cutRs2000Frame(QString s, const std::function<QString()>& readMore);

// What the reader has sent and the terminal has not yet turned into
// punches, with the minute each part arrived. Swipes that queue up while a
// confirmation is shown arrive in one read; they are taken one frame at a
// time, so each becomes a punch of its own, in order, at its own minute.
//
// A frame runs from the start of the text to the ";" that opens the next
// one (the first ";" after the first ";"); without a next one, all the text
// is the frame, trailing characters included.
class ReaderBuffer {
public:
    struct Frame {
        QString text;
        DateTimeMin at; // when its first character arrived
    };

    void append(const QString& text, DateTimeMin at);
    bool isEmpty() const { return parts_.empty(); }
    // The first frame; nullopt when nothing is waiting.
    std::optional<Frame> takeFrame();
    // The rest of a frame that came in two reads: the text before the next
    // frame's ";".
    QString takeRest();

private:
    QString all() const;
    QString take(qsizetype n);

    struct Part {
        QString text;
        DateTimeMin at;
    };
    std::deque<Part> parts_;
};

} // namespace plax::clk
