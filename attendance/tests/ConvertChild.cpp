// Test helper: converts a downloaded punch file as the import command does,
// so that a test can end it half way.
//   convert_child <download> <Clock.txt>
// Exits 0 when the conversion succeeded, else 1.
#include "attendance/ClockFile.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: convert_child <download> <Clock.txt>\n");
        return 2;
    }
    return plax::convertPunchFile(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])) ==
                   plax::Conversion::Done
               ? 0
               : 1;
}
