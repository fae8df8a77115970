#include "LineReader.h"

#include <algorithm>

namespace plax {
namespace {

constexpr qint64 kBlockBytes = 64 * 1024;

bool isLineEnd(QChar c) { return c == u'\n' || c == u'\r'; }

} // namespace

LineReader::LineReader(QIODevice& in) : in_(in), decoder_(text::detectEncoding(in, &failed_)) { eof_ = failed_; }

bool LineReader::fill() {
    block_.resize(kBlockBytes);
    // A block may end inside a character, so it can decode to nothing yet.
    while (!eof_) {
        const qint64 n = in_.read(block_.data(), kBlockBytes);
        if (n <= 0) {
            eof_ = true;
            failed_ = n < 0;
            break;
        }
        buf_ = decoder_.decode(QByteArrayView(block_.constData(), n));
        pos_ = 0;
        if (!buf_.isEmpty())
            return true;
    }
    buf_.clear();
    pos_ = 0;
    return false;
}

bool LineReader::next(QString& line) {
    line.resize(0);
    bool started = false;  // part of a line has been read
    bool overlong = false; // ... and it is too long to keep
    for (;;) {
        if (pos_ >= buf_.size() && !fill()) {
            // The last line of a file may have no line end; a file cut short
            // inside a character has lost the end of its last line.
            if (started && overlong)
                ++tooLong_;
            if (failed_ || overlong || decoder_.endsInsideCharacter()) {
                line.clear();
                return false;
            }
            return started;
        }
        if (skipLf_) {
            // The LF of a CR LF that was split between two blocks.
            skipLf_ = false;
            if (buf_[pos_] == u'\n') {
                ++pos_;
                continue;
            }
        }
        const QChar* begin = buf_.constData() + pos_;
        const QChar* end = buf_.constData() + buf_.size();
        const QChar* p = std::find_if(begin, end, isLineEnd);
        const qsizetype n = p - begin;
        started = true;
        if (!overlong) {
            if (line.size() + n > kMaxLineChars) {
                overlong = true;
                line.clear();
            } else {
                line.append(begin, n);
            }
        }
        pos_ += n;
        if (p == end)
            continue; // the line goes on in the next block
        ++pos_;
        if (*p == u'\r') {
            if (pos_ < buf_.size()) {
                if (buf_[pos_] == u'\n')
                    ++pos_;
            } else {
                skipLf_ = true;
            }
        }
        if (!overlong)
            return true;
        ++tooLong_;
        overlong = started = false;
    }
}

} // namespace plax
