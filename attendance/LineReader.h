#pragma once
// Reads a text file line by line in bounded memory: the punch files
// downloaded from clocks and "Clock.txt".
//
// CR, LF and CR LF each end a line (files from older clocks end their lines
// with CR alone). A line longer than kMaxLineBytes cannot be a punch: it is
// skipped to its end without being kept, so a damaged file of one endless
// line costs no more memory than a good one.
//
// Threading: any thread, one reader per device.

#include <QByteArray>
#include <QIODevice>

namespace plax {

class LineReader {
public:
    static constexpr qsizetype kMaxLineBytes = 64 * 1024;

    explicit LineReader(QIODevice& in) : in_(in) {}

    // The next line without its line end; false at the end of the file (or
    // when the file cannot be read further: see failed()).
    bool next(QByteArray& line);
    // Lines skipped so far for being longer than kMaxLineBytes.
    int tooLong() const { return tooLong_; }
    // True when reading stopped on a read error rather than the end.
    bool failed() const { return failed_; }

private:
    bool fill();

    QIODevice& in_;
    QByteArray buf_;
    qsizetype pos_ = 0;
    bool skipLf_ = false; // the last line ended with CR at the end of the buffer
    bool eof_ = false;
    bool failed_ = false;
    int tooLong_ = 0;
};

} // namespace plax
