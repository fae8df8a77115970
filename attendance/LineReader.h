#pragma once
// Reads a text file line by line in bounded memory: the punch files
// downloaded from clocks and "Clock.txt".
//
// The file's encoding is found as every text file from outside is read
// (core/text/TextEncoding.h: a byte-order mark for UTF-8 or UTF-16, else
// valid UTF-8, else Windows-1252), so lines are characters, whatever the
// editor that saved the file. CR, LF and CR LF each end a line (files from
// older clocks end their lines with CR alone). A line longer than
// kMaxLineChars cannot be a punch: it is skipped to its end without being
// kept, so a damaged file of one endless line costs no more memory than a
// good one. A last line cut short inside a character (the file ends there)
// is skipped as well.
//
// Threading: any thread, one reader per device.

#include "core/text/TextEncoding.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace plax {

class LineReader {
public:
    static constexpr qsizetype kMaxLineChars = 64 * 1024;

    // `in` is open for reading at the start of the file; without a
    // byte-order mark the file is read through once first, so `in` must be
    // able to seek.
    explicit LineReader(QIODevice& in);

    text::TextEncoding encoding() const { return decoder_.encoding(); }
    // The next line without its line end; false at the end of the file, and
    // when the file cannot be read further (see failed()): a line the error
    // cut short is not returned.
    bool next(QString& line);
    // Lines skipped so far for being longer than kMaxLineChars.
    int tooLong() const { return tooLong_; }
    // True when reading stopped on a read error rather than the end, in the
    // first pass (which then ends reading at once) or in this one.
    bool failed() const { return failed_; }

private:
    bool fill();

    QIODevice& in_;
    bool failed_ = false; // before decoder_: the first pass sets it
    text::TextDecoder decoder_;
    QByteArray block_; // bytes as read
    QString buf_;      // ... and as text
    qsizetype pos_ = 0;
    bool skipLf_ = false; // the last line ended with CR at the end of the buffer
    bool eof_ = false;
    int tooLong_ = 0;
};

} // namespace plax
