#pragma once
// The one-byte Windows code page of Western Europe (Windows-1252), which
// Qt's own converters do not offer. Bytes 0x80 to 0x9F hold typographic
// characters ("€", "Š", curly quotes, ...); the five bytes the code page
// leaves undefined stand for the control characters of the same number, as
// Windows itself reads them, so every byte reads back as it was written.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace plax::text::cp1252 {

// The byte of a character, or -1 when the code page has none for it.
int byteOf(char16_t c);
// Whether every character of `text` has a byte in the code page.
bool fits(QStringView text);
// `text` in the code page; characters without a byte become "?".
QByteArray encode(QStringView text);
// Bytes of the code page as text (every byte has a character).
QString decode(QByteArrayView bytes);

} // namespace plax::text::cp1252
