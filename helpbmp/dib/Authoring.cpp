#include "Authoring.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

namespace pix {
namespace {

std::size_t boundedLength(const char* s, std::size_t max) {
    std::size_t n = 0;
    while (n < max && s[n] != '\0')
        ++n;
    return n;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

} // namespace

EditNames unpackNames(const char* buffer, int size) {
    EditNames names;
    if (!buffer || size <= 0)
        return names;
    const std::size_t first = boundedLength(buffer, std::size_t(size));
    names.dll.assign(buffer, std::min<std::size_t>(first, kMaxDllName));
    if (int(first) < size - 2) {
        const char* second = buffer + first + 1;
        const std::size_t n = boundedLength(second, std::size_t(size) - first - 1);
        names.picture.assign(second, std::min<std::size_t>(n, kMaxPictureName));
    }
    return names;
}

bool packNames(const EditNames& names, char* buffer, int size) {
    const std::size_t needed = names.dll.size() + 1 + names.picture.size() + 1;
    if (!buffer || size < 0 || needed > std::size_t(size))
        return false;
    std::memcpy(buffer, names.dll.c_str(), names.dll.size() + 1);
    std::memcpy(buffer + names.dll.size() + 1, names.picture.c_str(), names.picture.size() + 1);
    return true;
}

EditButtons editButtons(const std::string& text) {
    if (text.empty() || text == "*")
        return {false, false};
    if (text[0] == '*')
        return {true, true};
    return {true, false};
}

std::string diskNameFor(const std::string& chosenPath, const std::string& projectFolder) {
    std::string folder = projectFolder;
    while (!folder.empty() && isSeparator(folder.back()))
        folder.pop_back();
    if (!folder.empty() && chosenPath.size() > folder.size() + 1 && isSeparator(chosenPath[folder.size()])) {
        bool same = true;
        for (std::size_t i = 0; i < folder.size() && same; ++i) {
            const char a = chosenPath[i];
            const char b = folder[i];
            same = (isSeparator(a) && isSeparator(b)) ||
                   std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        }
        if (same)
            return "*" + chosenPath.substr(folder.size() + 1);
    }
    return "*" + chosenPath;
}

std::string fileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string toLower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string toUpper(std::string s) {
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

Placement fitPreview(int frameWidth, int frameHeight, int cx, int cy) {
    const int insideW = frameWidth - 10;
    const int insideH = frameHeight - 10;
    if (cx > 0 && cy > 0 && (cx > insideW || cy > insideH)) {
        const auto ratio = [](std::int64_t frame, std::int64_t size) { return (frame * 65536 + size / 2) / size; };
        const std::int64_t r = std::min(ratio(std::max(insideW, 0), cx), ratio(std::max(insideH, 0), cy));
        cx = int((cx * r + 32768) / 65536);
        cy = int((cy * r + 32768) / 65536);
    }
    return {(frameWidth - cx) / 2, (frameHeight - cy) / 2, cx, cy};
}

} // namespace pix
