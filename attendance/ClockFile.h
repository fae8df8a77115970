#pragma once
// Conversion of punch files downloaded from time clocks into the converted
// punch file "Clock.txt" in the data folder: one punch per line,
// "ID,mm/dd/yy,hh:mm", lines ended by CR LF, in UTF-8 (plain ASCII for
// the usual numeric IDs).
//
// Three downloaded line layouts are recognised by shape, tested in this
// order (positions count from 1):
//  A  character 2 is a comma: date 3-10, time 12-16, ID from 21 to the end;
//  B  the line ends in a time with seconds (dd:dd:dd): ID before the first
//     comma at p, date p+1 to p+8, time p+10 to p+14;
//  C  the line starts with a date (dd/dd/dd): date 1-8, time 10-14, and
//     p-1 ID characters from 19, p being the position of the first blank.
// IDs lose their trailing blanks. A line is written only when its date is a
// valid date; the time is copied as read. Other lines are skipped, and so is
// a layout B line without a comma or a layout C line without a blank.
// A downloaded file is read in the encoding its byte-order mark names
// (UTF-8, UTF-16), else as UTF-8 when it is valid UTF-8 (also when it is
// cut short inside a character of its last line, which is skipped), else as
// Windows-1252; positions count characters. CR, LF and CR LF each end a
// line; a line longer than LineReader::kMaxLineChars is skipped as
// malformed. The file is read as a stream, so its size does not matter.
//
// Clock.txt is written beside itself and renamed into place once complete
// and flushed, so it always holds one whole conversion: a program ended
// half way leaves the earlier file as it was. So does a downloaded file that
// cannot be read whole (a read error at any point, a stick pulled, a share
// gone): nothing of it reaches Clock.txt.

#include <QIODevice>
#include <QString>
#include <optional>

namespace plax {

// How a conversion ended.
enum class Conversion {
    Done,       // Clock.txt holds the whole downloaded file's punches
    Cancelled,  // no file was chosen
    Unreadable, // the downloaded file could not be opened or read to its end
    NotWritten, // Clock.txt could not be written
};

// The Clock.txt line (without line end) for one downloaded line, or nullopt
// when the line is skipped.
std::optional<QString> convertPunchLine(const QString& line);

// Rewrites every recognisable line of `source` into `target` (replaced).
// Any other result than Done leaves the earlier `target` as it was.
Conversion convertPunchFile(const QString& source, const QString& target);
// The same from a file open for reading at its start.
Conversion convertPunchFile(QIODevice& source, const QString& target);

// The import command's first half: lets the user pick a downloaded file
// (starting in appPath + "Data") and converts it into dataPath + "Clock.txt".
// Cancel leaves an earlier Clock.txt untouched. A file that cannot be read
// whole is named in a message (the import must not follow); no other end
// shows a message. Shows the wait cursor.
Conversion ConvertClockFile(const QString& appPath, const QString& dataPath);
// The same on the program's folders (AppPath, DataPath).
Conversion ConvertClockFile();

} // namespace plax
