// Plays the help viewer and the help-authoring tool against PIX256W.dll:
// loads it, hands it the viewer's file callbacks, creates embedded windows
// and drives the authoring dialog. Prints each failed check; the exit code
// is the number of failures.
#include "../HelpViewer.h"
#include "../resource.h"
#include "helpbmp/dib/Authoring.h"
#include "helpbmp/tests/BmpWriter.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace pixw;

namespace {

int g_failures = 0;

// An export of the DLL as a function of its own type.
template <typename F>
F exported(HMODULE dll, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

#define CHECK(cond)                                                                                                    \
    do {                                                                                                               \
        if (!(cond)) {                                                                                                 \
            std::printf("FAILED %s:%d: %s\n", __FILE__, __LINE__, #cond);                                              \
            ++g_failures;                                                                                              \
        }                                                                                                              \
    } while (0)
#define CHECK_EQ(a, b)                                                                                                 \
    do {                                                                                                               \
        const auto va = (a);                                                                                           \
        const auto vb = (b);                                                                                           \
        if (!(va == vb)) {                                                                                             \
            std::printf("FAILED %s:%d: %s == %s (%lld vs %lld)\n", __FILE__, __LINE__, #a, #b, (long long)va,          \
                        (long long)vb);                                                                                \
            ++g_failures;                                                                                              \
        }                                                                                                              \
    } while (0)

// ---- the viewer's help file system: baggage files kept in memory ----

std::map<std::string, std::vector<std::uint8_t>> g_baggage;
std::vector<std::string> g_opened; // names asked of HfOpenHfs
std::string g_helpPath;

struct OpenFile {
    const std::vector<std::uint8_t>* bytes;
    long pos;
};

HANDLE WINAPI HfsOpenSz(LPSTR, BYTE) { return reinterpret_cast<HANDLE>(1); }
WORD WINAPI RcCloseHfs(HANDLE) { return 0; }
HANDLE WINAPI HfOpenHfs(HANDLE, LPSTR name, BYTE) {
    g_opened.push_back(name);
    const auto it = g_baggage.find(name);
    return it == g_baggage.end() ? nullptr : reinterpret_cast<HANDLE>(new OpenFile{&it->second, 0});
}
WORD WINAPI RcCloseHf(HANDLE hf) {
    delete reinterpret_cast<OpenFile*>(hf);
    return 0;
}
LONG WINAPI LcbReadHf(HANDLE hf, LPVOID buffer, LONG count) {
    auto* f = reinterpret_cast<OpenFile*>(hf);
    const long n = std::max(0L, std::min(long(count), long(f->bytes->size()) - f->pos));
    std::memcpy(buffer, f->bytes->data() + f->pos, std::size_t(n));
    f->pos += n;
    return n;
}
LONG WINAPI LSeekHf(HANDLE hf, LONG offset, WORD origin) {
    auto* f = reinterpret_cast<OpenFile*>(hf);
    const long to = origin == 1 ? f->pos + offset : offset;
    if (to < 0 || to > long(f->bytes->size()))
        return -1;
    f->pos = to;
    return to;
}
LONG_PTR WINAPI GetInfo(WORD what, HWND) {
    return what == GI_HPATH ? reinterpret_cast<LONG_PTR>(g_helpPath.c_str()) : 0;
}

// ---- pictures ----

constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// 300 × 100, 8 bits, 3780 pixels per metre across: left half red, right half blue.
std::vector<std::uint8_t> logoBmp() {
    pixtest::BmpLayout s;
    s.width = 300;
    s.height = 100;
    s.bitCount = 8;
    s.colours = 3;
    s.xPelsPerMeter = 3780;
    s.tableColour = [](int i) { return i == 0 ? kRed : i == 1 ? kBlue : kWhite; };
    s.pixel = [](int x, int) { return std::uint32_t(x < 150 ? 0 : 1); };
    return pixtest::makeBmp(s);
}

std::vector<std::uint8_t> fourBitBmp() {
    pixtest::BmpLayout s;
    s.width = 16;
    s.height = 8;
    s.bitCount = 4;
    return pixtest::makeBmp(s);
}

std::vector<std::uint8_t> rgbBmp() {
    pixtest::BmpLayout s;
    s.width = 40;
    s.height = 20;
    s.bitCount = 24;
    s.pixel = [](int, int) { return kRed; };
    return pixtest::makeBmp(s);
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::printf("cannot write %s\n", path.c_str());
        ++g_failures;
        return;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// ---- the viewer's window ----

UINT g_parentMouseMessage = 0;
LPARAM g_parentMousePoint = 0;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == EWM_ASKPALETTE)
        return 0;
    if (msg >= WM_MOUSEFIRST && msg <= 0x209) {
        g_parentMouseMessage = msg;
        g_parentMousePoint = lParam;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND g_parent = nullptr;

HWND embed(const char* author, WORD major = 0) {
    CreateInfo info{major, 0, const_cast<LPSTR>(g_helpPath.c_str()), const_cast<LPSTR>(author)};
    return CreateWindowA("PIX256W", "", WS_CHILD | WS_VISIBLE, 20, 30, 320, 120, g_parent, nullptr,
                         GetModuleHandleA(nullptr), &info);
}

POINT sizeOf(HWND w) {
    POINT p{-1, -1};
    SendMessageA(w, EWM_QUERYSIZE, 0, reinterpret_cast<LPARAM>(&p));
    return p;
}

int paletteCount(HWND w) {
    auto pal = reinterpret_cast<HPALETTE>(SendMessageA(w, EWM_ASKPALETTE, 0, 0));
    return pal ? int(GetPaletteEntries(pal, 0, 0, nullptr)) : 0;
}

void viewerTests(HMODULE dll, const std::string& folder) {
    auto handler = exported<decltype(&LDLLHandler)>(dll, "LDLLHandler");
    CHECK_EQ(handler(DW_WHATMSG, 0, 0), 16L);
    void* table[HE_TableSize] = {};
    table[HE_HfsOpenSz] = reinterpret_cast<void*>(&HfsOpenSz);
    table[HE_RcCloseHfs] = reinterpret_cast<void*>(&RcCloseHfs);
    table[HE_HfOpenHfs] = reinterpret_cast<void*>(&HfOpenHfs);
    table[HE_RcCloseHf] = reinterpret_cast<void*>(&RcCloseHf);
    table[HE_LcbReadHf] = reinterpret_cast<void*>(&LcbReadHf);
    table[HE_LSeekHf] = reinterpret_cast<void*>(&LSeekHf);
    table[HE_GetInfo] = reinterpret_cast<void*>(&GetInfo);
    CHECK_EQ(handler(DW_CALLBACKS, reinterpret_cast<LPARAM>(table), 0), 0L);
    CHECK_EQ(handler(77, 0, 0), 0L);

    g_helpPath = folder + "guide.hlp";
    CreateDirectoryA((folder + "pictures").c_str(), nullptr);
    writeFile(folder + "pictures\\logo.bmp", logoBmp());
    writeFile(folder + "four.bmp", fourBitBmp());
    writeFile(folder + "rgb.bmp", rgbBmp());
    writeFile(folder + "bad.bmp", {'X', 'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0});
    g_baggage["LOGO.BMP"] = logoBmp();

    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PixTestViewer";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&wc);
    g_parent = CreateWindowA("PixTestViewer", "viewer", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                             wc.hInstance, nullptr);
    CHECK(g_parent != nullptr);

    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    // A picture on disk relative to the help file, asked for its size before any paint.
    HWND logo = embed("*pictures\\logo.bmp");
    CHECK(logo != nullptr);
    POINT size = sizeOf(logo);
    CHECK_EQ(size.x, LONG(300 * dpiX / 127 * 5000 / 3780));
    CHECK_EQ(size.y, LONG(100 * dpiY / 96));
    CHECK_EQ(paletteCount(logo), 3);

    // The same picture as baggage: the name is tried as given, in lower and in upper case.
    g_opened.clear();
    HWND bag = embed("Logo.bmp");
    size = sizeOf(bag);
    CHECK_EQ(size.y, LONG(100 * dpiY / 96));
    CHECK_EQ(g_opened.size(), std::size_t(3));
    if (g_opened.size() == 3) {
        CHECK(g_opened[0] == "Logo.bmp");
        CHECK(g_opened[1] == "logo.bmp");
        CHECK(g_opened[2] == "LOGO.BMP");
    }
    HWND missing = embed("none.bmp");
    CHECK_EQ(sizeOf(missing).x, LONG(3 * dpiX));

    // Palettes: 16 entries for 4 bits, the fixed cube for 24 bits.
    HWND four = embed("*four.bmp");
    CHECK_EQ(paletteCount(four), 16);
    const std::string rgbPath = "*" + folder + "rgb.bmp";
    HWND rgb = embed(rgbPath.c_str());
    auto cube = reinterpret_cast<HPALETTE>(SendMessageA(rgb, EWM_ASKPALETTE, 0, 0));
    CHECK(cube != nullptr);
    if (cube) {
        CHECK_EQ(int(GetPaletteEntries(cube, 0, 0, nullptr)), 256);
        PALETTEENTRY e{};
        GetPaletteEntries(cube, 9, 1, &e);
        CHECK(e.peRed == 32 && e.peGreen == 32 && e.peBlue == 0);
    }

    // Not a bitmap: the default size of three inches by one, nothing rendered.
    HWND bad = embed("*bad.bmp");
    CHECK_EQ(sizeOf(bad).x, LONG(3 * dpiX));
    CHECK_EQ(sizeOf(bad).y, LONG(dpiY));
    CHECK_EQ(paletteCount(bad), 0);

    // The render request gives a bitmap of the picture's own size and colours.
    HDC dc = GetDC(g_parent);
    RenderRequest request{0, 0, dc};
    auto rendered = reinterpret_cast<HBITMAP>(SendMessageA(logo, EWM_RENDER, CF_BITMAP, reinterpret_cast<LPARAM>(&request)));
    CHECK(rendered != nullptr);
    if (rendered) {
        BITMAP bm{};
        GetObjectA(rendered, sizeof bm, &bm);
        CHECK_EQ(bm.bmWidth, LONG(300));
        CHECK_EQ(bm.bmHeight, LONG(100));
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, rendered);
        CHECK_EQ(GetPixel(mem, 10, 10), COLORREF(RGB(255, 0, 0)));
        CHECK_EQ(GetPixel(mem, 290, 90), COLORREF(RGB(0, 0, 255)));
        SelectObject(mem, old);
        DeleteDC(mem);
        DeleteObject(rendered);
    }
    CHECK(SendMessageA(bad, EWM_RENDER, CF_BITMAP, reinterpret_cast<LPARAM>(&request)) == 0);
    CHECK(SendMessageA(logo, EWM_RENDER, CF_TEXT, reinterpret_cast<LPARAM>(&request)) == 0);
    ReleaseDC(g_parent, dc);

    // Painting: first from the picture, then from the cached bitmap.
    for (int round = 0; round < 2; ++round) {
        InvalidateRect(logo, nullptr, TRUE);
        UpdateWindow(logo);
        HDC wdc = GetDC(logo);
        CHECK_EQ(GetPixel(wdc, 5, 5), COLORREF(RGB(255, 0, 0)));
        CHECK_EQ(GetPixel(wdc, 280, 50), COLORREF(RGB(0, 0, 255)));
        ReleaseDC(logo, wdc);
    }
    InvalidateRect(bad, nullptr, TRUE);
    UpdateWindow(bad); // draws its error text
    CHECK_EQ(SendMessageA(logo, WM_QUERYNEWPALETTE, 0, 0), LRESULT(0));
    CHECK_EQ(SendMessageA(logo, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(g_parent), 0), LRESULT(0));

    // Mouse messages reach the viewer only once forwarding is switched on.
    SendMessageA(logo, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    CHECK_EQ(g_parentMouseMessage, UINT(0));
    SendMessageA(logo, EWM_FORWARDMOUSE, 0, 0);
    SendMessageA(logo, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 6));
    CHECK_EQ(g_parentMouseMessage, UINT(WM_LBUTTONDOWN));
    CHECK_EQ(LOWORD(g_parentMousePoint), WORD(25));
    CHECK_EQ(HIWORD(g_parentMousePoint), WORD(36));

    // A creation record of another version is refused.
    CHECK(embed("*four.bmp", 1) == nullptr);

    for (HWND w : {logo, bag, missing, four, rgb, bad})
        DestroyWindow(w);
}

// ---- the authoring tool ----

std::vector<std::string> g_toolBaggage;
std::vector<std::string> g_added;
std::string g_projectFolder;

LONG_PTR WINAPI ToolCallback(LONG code, LONG_PTR a, LONG_PTR b) {
    switch (code) {
    case 0:
        return 0x20000;
    case 2:
        return 64;
    case 3:
    case 4: {
        const std::size_t i = code == 3 ? 0 : std::size_t(b);
        if (i >= g_toolBaggage.size())
            return 0;
        std::strcpy(reinterpret_cast<char*>(a), g_toolBaggage[i].c_str());
        return LONG_PTR(i + 1);
    }
    case 7:
        g_added.push_back(reinterpret_cast<const char*>(a));
        return 1;
    case 9:
        return reinterpret_cast<LONG_PTR>(g_parent);
    case 11:
        std::strcpy(reinterpret_cast<char*>(a), g_projectFolder.c_str());
        return 0;
    case 13:
        std::strcpy(reinterpret_cast<char*>(a), g_projectFolder.c_str());
        return 0;
    default:
        return 0;
    }
}

// Steps run from a timer while the dialog (or a box over it) is open. Each
// step waits until its window is there.
struct Step {
    bool wantsMessageBox; // a box over the dialog rather than the dialog
    std::function<void(HWND)> run;
};
std::vector<Step> g_steps;
std::size_t g_nextStep = 0;

HWND g_found = nullptr;
BOOL CALLBACK findDialog(HWND w, LPARAM wantsBox) {
    char cls[32] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(w))
        return TRUE;
    const bool isBox = GetDlgItem(w, IDC_NAME) == nullptr;
    if (isBox == (wantsBox != 0)) {
        g_found = w;
        return FALSE;
    }
    return TRUE;
}

// Re-entered when a step opens a box of its own: the step is counted as
// taken before it runs, so the next tick goes on with the next step.
void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_nextStep >= g_steps.size())
        return;
    g_found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, g_steps[g_nextStep].wantsMessageBox);
    if (!g_found)
        return;
    const Step step = g_steps[g_nextStep++];
    step.run(g_found);
}

void click(HWND dlg, int id) { PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dlg, id))); }

std::string itemText(HWND dlg, int id) {
    char buf[300] = "";
    GetDlgItemTextA(dlg, id, buf, sizeof buf);
    return buf;
}

decltype(&QM_Edit) g_edit = nullptr;

int runEdit(std::vector<Step> steps, WORD& placement, char* buffer, int size) {
    g_steps = std::move(steps);
    g_nextStep = 0;
    const DWORD start = GetTickCount();
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, onTimer);
    const int rc = g_edit(&placement, buffer, size, ToolCallback);
    KillTimer(nullptr, timer);
    std::printf("  dialog round: %zu steps, %lu ms\n", g_nextStep, GetTickCount() - start);
    CHECK_EQ(g_nextStep, g_steps.size());
    return rc;
}

void authoringTests(HMODULE dll, const std::string& folder) {
    auto functions = exported<decltype(&QM_Functions)>(dll, "QM_Functions");
    g_edit = exported<decltype(&QM_Edit)>(dll, "QM_Edit");
    CHECK_EQ(functions(), 3L);
    g_toolBaggage = {"LOGO.BMP", "Second.BMP"};
    g_projectFolder = folder;
    g_projectFolder.pop_back(); // without its trailing separator

    // A disk name, kept as a disk name (No), placed right.
    char buffer[300] = "OLDDLL\0old.bmp";
    WORD placement = 1;
    int rc = runEdit({{false,
                       [](HWND dlg) {
                           CHECK_EQ(SendDlgItemMessageA(dlg, IDC_BAGGAGE, LB_GETCOUNT, 0, 0), LRESULT(2));
                           char first[64] = "";
                           SendDlgItemMessageA(dlg, IDC_BAGGAGE, LB_GETTEXT, 0, LPARAM(first));
                           CHECK(std::string(first) == "logo.bmp");
                           CHECK(itemText(dlg, IDC_NAME) == "old.bmp");
                           CHECK(IsDlgButtonChecked(dlg, IDC_LEFT) == BST_CHECKED);
                           CHECK(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
                           CHECK(!IsWindowEnabled(GetDlgItem(dlg, IDC_ADD)));
                           SetDlgItemTextA(dlg, IDC_NAME, "*pictures\\logo.bmp");
                           CHECK(IsWindowEnabled(GetDlgItem(dlg, IDC_ADD)));
                           // The sample shows the picture fitted into the frame: red left, blue right.
                           HWND sample = GetDlgItem(dlg, IDC_SAMPLE);
                           RECT r{};
                           GetClientRect(sample, &r);
                           const pix::Placement fit = pix::fitPreview(r.right, r.bottom, 298, 100);
                           HDC sdc = GetDC(sample);
                           CHECK_EQ(GetPixel(sdc, fit.x + fit.cx / 4, fit.y + fit.cy / 2), COLORREF(RGB(255, 0, 0)));
                           CHECK_EQ(GetPixel(sdc, fit.x + fit.cx * 3 / 4, fit.y + fit.cy / 2), COLORREF(RGB(0, 0, 255)));
                           ReleaseDC(sample, sdc);
                           SetDlgItemTextA(dlg, IDC_NAME, "*");
                           CHECK(!IsWindowEnabled(GetDlgItem(dlg, IDOK)));
                           SetDlgItemTextA(dlg, IDC_NAME, "*pictures\\logo.bmp");
                           CheckRadioButton(dlg, IDC_CHARACTER, IDC_RIGHT, IDC_RIGHT);
                           click(dlg, IDOK);
                       }},
                      {true, [](HWND box) { PostMessageA(box, WM_COMMAND, IDNO, 0); }}},
                     placement, buffer, sizeof buffer);
    CHECK_EQ(rc, 1);
    CHECK_EQ(placement, WORD(2));
    CHECK(std::strcmp(buffer, "PIX256W") == 0);
    CHECK(std::strcmp(buffer + 8, "*pictures\\logo.bmp") == 0);

    // Yes makes it baggage: the tool is asked to add the file, the baggage name comes back.
    g_added.clear();
    rc = runEdit({{false,
                   [](HWND dlg) {
                       SetDlgItemTextA(dlg, IDC_NAME, "*c:\\elsewhere\\A Long Picture Name.bmp");
                       click(dlg, IDOK);
                   }},
                  {true, [](HWND box) { PostMessageA(box, WM_COMMAND, IDYES, 0); }}},
                 placement, buffer, sizeof buffer);
    CHECK_EQ(rc, 1);
    CHECK_EQ(g_added.size(), std::size_t(1));
    CHECK(std::strcmp(buffer + 8, "A Long Picture Name.bmp") == 0);

    // A baggage name from the list into a buffer too small for it: 5, buffer unchanged.
    char small[12] = "PIX256W\0ab";
    rc = runEdit({{false,
                   [](HWND dlg) {
                       SendDlgItemMessageA(dlg, IDC_BAGGAGE, LB_SETCURSEL, 1, 0);
                       SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_BAGGAGE, LBN_SELCHANGE),
                                    LPARAM(GetDlgItem(dlg, IDC_BAGGAGE)));
                       CHECK(itemText(dlg, IDC_NAME) == "second.bmp");
                       click(dlg, IDOK);
                   }}},
                 placement, small, sizeof small);
    CHECK_EQ(rc, 5);
    CHECK(std::strcmp(small + 8, "ab") == 0);

    // Browse: a file inside the project folder comes back relative to it.
    rc = runEdit({{false, [](HWND dlg) { click(dlg, IDC_BROWSE); }},
                  {true,
                   [](HWND fileDialog) {
                       // The file name box of either dialog style.
                       HWND name = GetDlgItem(fileDialog, 1148);
                       if (!name)
                           name = GetDlgItem(fileDialog, 1152);
                       CHECK(name != nullptr);
                       const std::string path = g_projectFolder + "\\pictures\\logo.bmp";
                       SetWindowTextA(name, path.c_str());
                       PostMessageA(fileDialog, WM_COMMAND, IDOK, 0);
                   }},
                  {false,
                   [](HWND dlg) {
                       CHECK(itemText(dlg, IDC_NAME) == "*pictures\\logo.bmp");
                       CHECK(IsWindowEnabled(GetDlgItem(dlg, IDC_ADD)));
                       click(dlg, IDCANCEL);
                   }}},
                 placement, buffer, sizeof buffer);
    CHECK_EQ(rc, 2);

    // Cancel and Change DLL.
    rc = runEdit({{false, [](HWND dlg) { click(dlg, IDCANCEL); }}}, placement, buffer, sizeof buffer);
    CHECK_EQ(rc, 2);
    rc = runEdit({{false, [](HWND dlg) { click(dlg, IDC_CHANGE_DLL); }}}, placement, buffer, sizeof buffer);
    CHECK_EQ(rc, 5);

    // A second dialog while one is open is refused.
    int nested = 0;
    rc = runEdit({{false,
                   [&nested](HWND) {
                       WORD p = 0;
                       char b[64] = "PIX256W\0x";
                       nested = g_edit(&p, b, sizeof b, ToolCallback);
                   }},
                  {true, [](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); }},
                  {false, [](HWND dlg) { click(dlg, IDCANCEL); }}},
                 placement, buffer, sizeof buffer);
    CHECK_EQ(nested, 2);
    CHECK_EQ(rc, 2);
}

} // namespace

int main() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "pixtest\\";
    CreateDirectoryA(folder.c_str(), nullptr);

    HMODULE dll = LoadLibraryA("PIX256W.dll");
    if (!dll) {
        std::printf("FAILED: PIX256W.dll does not load\n");
        return 1;
    }
    for (const char* name : {"LDLLHandler", "BMP_Wnd_Proc", "QM_Functions", "QM_Edit"})
        if (!GetProcAddress(dll, name)) {
            std::printf("FAILED: no export %s\n", name);
            ++g_failures;
        }
    if (g_failures)
        return g_failures;
    WNDCLASSA wc{};
    CHECK(GetClassInfoA(nullptr, "PIX256W", &wc) || GetClassInfoA(dll, "PIX256W", &wc));

    const DWORD start = GetTickCount();
    viewerTests(dll, folder);
    std::printf("viewer checks: %lu ms\n", GetTickCount() - start);
    authoringTests(dll, folder);
    std::printf("authoring checks: %lu ms\n", GetTickCount() - start);
    std::printf("%s: %d failure(s)\n", g_failures ? "FAILED" : "passed", g_failures);
    return g_failures;
}
