#include "TextEncoding.h"

#include "Windows1252.h"

#include <QStringEncoder>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace plax::text {
namespace {

constexpr qint64 kChunk = 64 * 1024;
// The most bytes of a UTF-8 character that are not the whole of it.
constexpr qsizetype kUtf8CutMax = 3;

QStringConverter::Encoding qtEncoding(TextEncoding e) {
    switch (e) {
    case TextEncoding::Utf16LE:
        return QStringConverter::Utf16LE;
    case TextEncoding::Utf16BE:
        return QStringConverter::Utf16BE;
    default:
        return QStringConverter::Utf8;
    }
}

} // namespace

void Utf8Check::feed(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (valid_ && p < end) {
        if (pending_ == 0) {
            // Plain ASCII, eight bytes at a time.
            while (end - p >= 8) {
                std::uint64_t w;
                std::memcpy(&w, p, 8);
                if (w & 0x8080808080808080ull)
                    break;
                p += 8;
            }
            if (p == end)
                break;
            const unsigned char b = *p++;
            if (b < 0x80)
                continue;
            lo_ = 0x80;
            hi_ = 0xBF;
            if (b >= 0xC2 && b <= 0xDF) {
                pending_ = 1;
            } else if (b >= 0xE0 && b <= 0xEF) {
                pending_ = 2;
                if (b == 0xE0)
                    lo_ = 0xA0; // no overlong forms
                if (b == 0xED)
                    hi_ = 0x9F; // no surrogates
            } else if (b >= 0xF0 && b <= 0xF4) {
                pending_ = 3;
                if (b == 0xF0)
                    lo_ = 0x90;
                if (b == 0xF4)
                    hi_ = 0x8F; // nothing beyond U+10FFFF
            } else {
                valid_ = false;
            }
        } else {
            const unsigned char b = *p++;
            if (b < lo_ || b > hi_) {
                valid_ = false;
                break;
            }
            lo_ = 0x80;
            hi_ = 0xBF;
            if (--pending_ == 0)
                multiByte_ = true;
        }
    }
}

TextEncoding detectEncoding(QIODevice& in, bool* unreadable) {
    const QByteArray head = in.peek(kUtf8Bom.size());
    if (head.startsWith(kUtf8Bom)) {
        in.skip(kUtf8Bom.size());
        return TextEncoding::Utf8;
    }
    if (head.startsWith("\xFF\xFE")) {
        in.skip(2);
        return TextEncoding::Utf16LE;
    }
    if (head.startsWith("\xFE\xFF")) {
        in.skip(2);
        return TextEncoding::Utf16BE;
    }
    const qint64 start = in.pos();
    Utf8Check check;
    std::vector<char> buffer(kChunk);
    bool failed = false;
    while (check.valid()) {
        const qint64 n = in.read(buffer.data(), kChunk);
        failed = n < 0;
        if (n <= 0)
            break;
        check.feed(QByteArrayView(buffer.data(), n));
    }
    // A device that cannot seek has been read for good.
    if (in.isSequential() || !in.seek(start))
        failed = true;
    if (unreadable)
        *unreadable = failed;
    // Cut short inside its last character: the reader drops that character.
    const bool cutUtf8 = check.valid() && check.multiByte();
    return check.complete() || cutUtf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

TextDecoder::TextDecoder(TextEncoding encoding) : encoding_(encoding) {
    // The byte-order mark was read past; a second one is a character.
    if (encoding != TextEncoding::Windows1252)
        decoder_.emplace(qtEncoding(encoding), QStringDecoder::Flag::ConvertInitialBom);
}

QString TextDecoder::decode(QByteArrayView bytes) {
    if (!decoder_)
        return cp1252::decode(bytes);
    QString text = decoder_->decode(bytes);
    if (encoding_ == TextEncoding::Utf8) {
        tail_.append(bytes.last(std::min(bytes.size(), kUtf8CutMax)));
        tail_ = tail_.right(kUtf8CutMax);
        return text; // ill-formed UTF-8 comes out as U+FFFD already
    }
    oddByte_ = oddByte_ != (bytes.size() % 2 == 1);
    // UTF-16 comes through as it was stored, halves of surrogate pairs too.
    if (!pendingHigh_.isNull()) {
        text.prepend(pendingHigh_);
        pendingHigh_ = QChar();
    }
    if (!text.isEmpty() && text.back().isHighSurrogate()) {
        pendingHigh_ = text.back();
        text.chop(1);
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

bool TextDecoder::endsInsideCharacter() const {
    switch (encoding_) {
    case TextEncoding::Windows1252:
        return false;
    case TextEncoding::Utf8: {
        // Back over continuation bytes to the lead byte of the last character.
        qsizetype lead = tail_.size() - 1;
        while (lead >= 0 && (static_cast<unsigned char>(tail_[lead]) & 0xC0) == 0x80)
            --lead;
        if (lead < 0)
            return false; // a four-byte character whole, or no character at all
        Utf8Check last;
        last.feed(QByteArrayView(tail_).sliced(lead));
        return last.valid() && !last.complete();
    }
    default:
        return oddByte_ || !pendingHigh_.isNull();
    }
}

QByteArray encode(QStringView text, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252)
        return cp1252::encode(text);
    QStringEncoder encoder(qtEncoding(encoding));
    return encoder.encode(text);
}

} // namespace plax::text
