#pragma once
// How text files from outside are read: a byte-order mark (UTF-8, UTF-16
// little- or big-endian) decides; without one, a file that is well-formed
// UTF-8 throughout is UTF-8, and so is one that holds UTF-8 characters and
// is well-formed but for a character cut short at its very end (a download
// or copy cut short); anything else is the one-byte Windows code page of
// Western Europe (Windows-1252), in which every byte is a character. A file
// of plain ASCII but for a few bytes at its very end stays Windows-1252: read
// either way its other lines are the same, and one last byte is an accented
// letter far more often than half of one. The personnel import and the punch
// files are read this way.
//
// Threading: any thread; a decoder belongs to one reader.

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringView>
#include <optional>

namespace plax::text {

enum class TextEncoding { Windows1252, Utf8, Utf16LE, Utf16BE };

// What a UTF-8 file written with a byte-order mark starts with.
inline const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// Whether bytes are well-formed UTF-8 throughout (a sequence cut at the end
// counts as well-formed while more bytes may follow: see complete()).
class Utf8Check {
public:
    void feed(QByteArrayView bytes);
    bool valid() const { return valid_; }
    bool complete() const { return valid_ && pending_ == 0; }
    // A character of more than one byte has been seen whole.
    bool multiByte() const { return multiByte_; }

private:
    bool valid_ = true;
    bool multiByte_ = false;
    int pending_ = 0;         // continuation bytes still expected
    unsigned char lo_ = 0x80; // allowed range of the next continuation byte
    unsigned char hi_ = 0xBF;
};

// The encoding of the file `in` holds from its current position, by the
// rule above. A byte-order mark is read past; without one the whole file is
// read once and `in` is put back where it was, so it must be able to seek.
// `*unreadable` (when given) is set when that pass met a read error or `in`
// could not be put back: the file cannot be read whole then.
TextEncoding detectEncoding(QIODevice& in, bool* unreadable = nullptr);

// Bytes of one encoding to text, a piece at a time: a character cut
// between two pieces comes whole with the second. What is not a character
// (a half of a UTF-16 surrogate pair without its other half) becomes
// U+FFFD, so the text is always well-formed. An incomplete character at the
// very end is dropped.
class TextDecoder {
public:
    explicit TextDecoder(TextEncoding encoding);
    TextEncoding encoding() const { return encoding_; }
    QString decode(QByteArrayView bytes);
    // The bytes decoded so far end inside a character (at the end of a
    // file: the file was cut short there).
    bool endsInsideCharacter() const;

private:
    TextEncoding encoding_;
    std::optional<QStringDecoder> decoder_; // none for Windows-1252, which needs no state
    QChar pendingHigh_;                     // UTF-16: a first half that ended the last piece
    QByteArray tail_;                       // UTF-8: the last bytes, as many as a cut character can have
    bool oddByte_ = false;                  // UTF-16: an odd number of bytes so far
};

// Text in an encoding (no byte-order mark); in Windows-1252 a character
// without a byte becomes "?".
QByteArray encode(QStringView text, TextEncoding encoding);

} // namespace plax::text
