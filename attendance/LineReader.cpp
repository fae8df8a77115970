#include "LineReader.h"

#include <algorithm>

namespace plax {
namespace {

constexpr qsizetype kBlockBytes = 64 * 1024;

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

} // namespace

bool LineReader::fill() {
    if (eof_)
        return false;
    buf_.resize(kBlockBytes);
    const qint64 n = in_.read(buf_.data(), kBlockBytes);
    if (n <= 0) {
        eof_ = true;
        failed_ = n < 0;
        buf_.clear();
        pos_ = 0;
        return false;
    }
    buf_.resize(n);
    pos_ = 0;
    return true;
}

bool LineReader::next(QByteArray& line) {
    line.resize(0);
    bool started = false;  // part of a line has been read
    bool overlong = false; // ... and it is too long to keep
    for (;;) {
        if (pos_ >= buf_.size() && !fill()) {
            // The last line of a file may have no line end.
            if (started && overlong) {
                ++tooLong_;
                line.clear();
                return false;
            }
            return started;
        }
        if (skipLf_) {
            // The LF of a CR LF that was split between two blocks.
            skipLf_ = false;
            if (buf_[pos_] == '\n') {
                ++pos_;
                continue;
            }
        }
        const char* begin = buf_.constData() + pos_;
        const char* end = buf_.constData() + buf_.size();
        const char* p = std::find_if(begin, end, isLineEnd);
        const qsizetype n = p - begin;
        started = true;
        if (!overlong) {
            if (line.size() + n > kMaxLineBytes) {
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
        if (*p == '\r') {
            if (pos_ < buf_.size()) {
                if (buf_[pos_] == '\n')
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
