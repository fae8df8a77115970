#pragma once
// The sums behind the authoring dialog, kept free of Windows so they can be
// tested anywhere: the names passed in and out of the edit entry, which
// buttons the typed name enables, names relative to the project folder,
// and how a picture is fitted into the preview frame.

#include <string>

namespace pix {

// The DLL name and picture name held in the authoring tool's buffer: the
// DLL name, a zero byte, the picture name, a zero byte.
struct EditNames {
    std::string dll;
    std::string picture;
};
// Reads at most `size` bytes of `buffer`; each name is cut to the size of
// the dialog's own buffers (255 and 259 characters).
EditNames unpackNames(const char* buffer, int size);
// Writes both names into `buffer`; false (buffer unchanged) when they do
// not fit in `size` bytes.
bool packNames(const EditNames& names, char* buffer, int size);

constexpr int kMaxDllName = 255;
constexpr int kMaxPictureName = 259;

struct EditButtons {
    bool ok = false;
    bool addToBaggage = false;
};
// "" and "*" alone: both off; "*name" (a disk file): both on; a baggage
// name: OK on, "Add to baggage" off.
EditButtons editButtons(const std::string& text);

// The name the dialog enters for a file chosen on disk: "*" and the path
// behind the project folder when the file lies inside it (letters compared
// without case, "\" and "/" alike), else "*" and the full path.
std::string diskNameFor(const std::string& chosenPath, const std::string& projectFolder);

// The file name behind the last "\" or "/".
std::string fileNameOf(const std::string& path);

std::string toLower(std::string s);
std::string toUpper(std::string s);

struct Placement {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};
// Where a picture of cx × cy pixels is drawn in a preview frame of
// frameWidth × frameHeight: inside a 5-pixel margin, scaled down (both
// sides by the same ratio, in 16.16 fixed point) when it is larger, and
// centred.
Placement fitPreview(int frameWidth, int frameHeight, int cx, int cy);

} // namespace pix
