#include "BitmapWindow.h"

#include "resource.h"
#include "helpbmp/dib/Authoring.h"
#include "helpbmp/dib/Dib.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace pixw {

HINSTANCE g_instance = nullptr;
CallbackRecord* g_callbacks = nullptr;

namespace {

// Once on, mouse messages go to the parent window for the rest of the process.
bool g_forwardMouse = false;

BitmapWindowData* dataOf(HWND hwnd) { return reinterpret_cast<BitmapWindowData*>(GetWindowLongPtrA(hwnd, 0)); }

void copyName(char (&to)[260], const char* from) {
    std::strncpy(to, from ? from : "", 259);
    to[259] = '\0';
}

// A file inside the help file, read through the viewer's callbacks.
class BaggageSource : public pix::ByteSource {
public:
    BaggageSource(const CallbackRecord& cb, HANDLE hf) : cb_(cb), hf_(hf) {}
    long read(void* buffer, long count) override { return cb_.lcbReadHf(hf_, buffer, count); }
    bool seekRelative(long offset) override { return cb_.lSeekHf(hf_, offset, 1) >= 0; }
    bool seekAbsolute(long offset) override { return cb_.lSeekHf(hf_, offset, 0) >= 0; }

private:
    const CallbackRecord& cb_;
    HANDLE hf_;
};

// Steps shared by both roads: read the picture, keep it in global memory,
// work out its displayed size.
int finishLoad(HDC hdc, BitmapWindowData* d, pix::ByteSource& source) {
    std::vector<std::uint8_t> packed;
    const int rc = pix::readDib(source, packed);
    if (rc != pix::kOk)
        return rc;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, packed.size());
    if (!h)
        return pix::kNoMemory;
    void* p = GlobalLock(h);
    if (!p) {
        GlobalFree(h);
        return pix::kNoMemory;
    }
    std::memcpy(p, packed.data(), packed.size());
    GlobalUnlock(h);
    d->hDib = h;
    const pix::Size size =
        pix::displaySize(pix::headerOf(packed), GetDeviceCaps(hdc, LOGPIXELSX), GetDeviceCaps(hdc, LOGPIXELSY));
    d->cx = size.cx;
    d->cy = size.cy;
    return pix::kOk;
}

CallbackRecord* recordOfThisProcess() {
    for (CallbackRecord* r = g_callbacks; r; r = r->next)
        if (r->process == GetCurrentProcess())
            return r;
    return nullptr;
}

// Puts the parent's palette (foreground) and the window's own palette
// (background when the parent has one) into `hdc`; returns the palette
// replaced first, to be put back afterwards.
HPALETTE selectPalettes(HDC hdc, BitmapWindowData* d) {
    if (d->parentPalette == static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)))
        d->parentPalette = nullptr;
    HPALETTE old = nullptr;
    if (d->parentPalette) {
        old = SelectPalette(hdc, d->parentPalette, FALSE);
        RealizePalette(hdc);
    }
    if (d->palette && d->palette != d->parentPalette) {
        HPALETTE replaced = SelectPalette(hdc, d->palette, d->parentPalette != nullptr);
        if (!old)
            old = replaced;
        RealizePalette(hdc);
    }
    return old;
}

void restorePalette(HDC hdc, HPALETTE old) {
    if (old)
        SelectPalette(hdc, old, TRUE);
}

void defaultSize(HWND hwnd, BitmapWindowData* d) {
    HDC screen = GetDC(hwnd);
    d->cx = 3 * GetDeviceCaps(screen, LOGPIXELSX);
    d->cy = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(hwnd, screen);
}

int loadWithScreen(HWND hwnd, BitmapWindowData* d) {
    HDC screen = GetDC(hwnd);
    const int rc = LoadDib(screen, d);
    ReleaseDC(hwnd, screen);
    return rc;
}

HPALETTE askParentPalette(HWND hwnd) {
    HWND parent = GetParent(hwnd);
    return parent ? reinterpret_cast<HPALETTE>(SendMessageA(parent, EWM_ASKPALETTE, 0, 0)) : nullptr;
}

LRESULT onCreate(HWND hwnd, LPARAM lParam) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    const auto* info = cs ? static_cast<const CreateInfo*>(cs->lpCreateParams) : nullptr;
    if (!info || info->major != 0)
        return -1;
    auto* d = new (std::nothrow) BitmapWindowData{};
    if (!d)
        return -1;
    const char* author = info->authorData ? info->authorData : "";
    d->fromHelpFile = author[0] == '*' ? 0 : 1;
    copyName(d->name, author[0] == '*' ? author + 1 : author);
    copyName(d->helpFile, info->helpFile);
    defaultSize(hwnd, d);
    SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(d));
    return 0;
}

void onDestroy(HWND hwnd, BitmapWindowData* d) {
    if (!d)
        return;
    FreeDib(d);
    if (d->cachedBitmap)
        DeleteObject(d->cachedBitmap);
    SetWindowLongPtrA(hwnd, 0, 0);
    delete d;
}

void blit(HDC to, HDC from, BitmapWindowData* d) { BitBlt(to, 0, 0, d->cx, d->cy, from, 0, 0, SRCCOPY); }

void onPaint(HWND hwnd, BitmapWindowData* d) {
    d->parentPalette = askParentPalette(hwnd);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ oldBitmap = nullptr;
    HPALETTE oldPalette = nullptr;

    if (d->cachedBitmap && mem) {
        oldBitmap = SelectObject(mem, d->cachedBitmap);
        if (oldBitmap) {
            oldPalette = selectPalettes(hdc, d);
            blit(hdc, mem, d);
        } else {
            // The system discarded it.
            DeleteObject(d->cachedBitmap);
            d->cachedBitmap = nullptr;
        }
    } else if (d->cachedBitmap) {
        DeleteObject(d->cachedBitmap);
        d->cachedBitmap = nullptr;
    }

    if (!d->cachedBitmap) {
        if (!d->hDib)
            loadWithScreen(hwnd, d);
        if (d->hDib && mem) {
            HBITMAP bitmap = CreateDiscardableBitmap(hdc, d->cx, d->cy);
            if (bitmap) {
                d->cachedBitmap = bitmap;
                oldBitmap = SelectObject(mem, bitmap);
                if (DrawDib(mem, d, TRUE)) {
                    oldPalette = selectPalettes(hdc, d);
                    blit(hdc, mem, d);
                    GlobalFree(d->hDib);
                    d->hDib = nullptr;
                } else {
                    SelectObject(mem, oldBitmap);
                    oldBitmap = nullptr;
                    DeleteObject(bitmap);
                    d->cachedBitmap = nullptr;
                }
            }
        }
        if (!d->cachedBitmap)
            DrawDib(hdc, d, TRUE);
    }

    if (oldBitmap)
        SelectObject(mem, oldBitmap);
    restorePalette(hdc, oldPalette);
    if (mem)
        DeleteDC(mem);
    EndPaint(hwnd, &ps);
}

LRESULT onPaletteMessage(HWND hwnd, BitmapWindowData* d) {
    if (!d || d->busy)
        return 0;
    d->busy = 1;
    d->parentPalette = askParentPalette(hwnd);
    if (d->parentPalette || d->palette) {
        HDC screen = GetDC(hwnd);
        restorePalette(screen, selectPalettes(screen, d));
        ReleaseDC(hwnd, screen);
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    d->busy = 0;
    return 0;
}

} // namespace

void FreeDib(BitmapWindowData* d) {
    if (d->palette)
        DeleteObject(d->palette);
    d->palette = nullptr;
    if (d->hDib)
        GlobalFree(d->hDib);
    d->hDib = nullptr;
}

int LoadDib(HDC hdc, BitmapWindowData* d) {
    if (d->fromHelpFile)
        return LoadDibFromHelpFile(hdc, d);
    std::string path = d->name;
    if (!pix::isAbsoluteName(path)) {
        // The viewer knows where its help file is; without its callbacks
        // (the authoring preview) the path kept in the record serves.
        std::string helpPath = d->helpFile;
        if (g_callbacks && g_callbacks->getInfo) {
            if (const LONG_PTR p = g_callbacks->getInfo(GI_HPATH, nullptr))
                helpPath = reinterpret_cast<const char*>(p);
        }
        path = pix::resolveDiskName(path, helpPath);
    }
    auto source = pix::FileSource::open(path);
    if (!source)
        return pix::kCannotOpen;
    return finishLoad(hdc, d, *source);
}

int LoadDibFromHelpFile(HDC hdc, BitmapWindowData* d) {
    const CallbackRecord* cb = recordOfThisProcess();
    if (!cb)
        return pix::kInitFailed;
    HANDLE hfs = cb->hfsOpenSz(d->helpFile, FS_OPEN_READ_ONLY);
    if (!hfs)
        return pix::kCannotOpenBaggage;
    std::string name = d->name;
    HANDLE hf = cb->hfOpenHfs(hfs, name.data(), FS_OPEN_READ_ONLY);
    if (!hf) {
        name = pix::toLower(d->name);
        hf = cb->hfOpenHfs(hfs, name.data(), FS_OPEN_READ_ONLY);
    }
    if (!hf) {
        name = pix::toUpper(d->name);
        hf = cb->hfOpenHfs(hfs, name.data(), FS_OPEN_READ_ONLY);
    }
    int rc = pix::kCannotOpenBaggage;
    if (hf) {
        BaggageSource source(*cb, hf);
        rc = finishLoad(hdc, d, source);
        cb->rcCloseHf(hf);
    }
    cb->rcCloseHfs(hfs);
    return rc;
}

HPALETTE CreateDibPalette(const BYTE* dib, SIZE_T size, WORD* count) {
    *count = 0;
    const std::vector<pix::PaletteEntry> entries = pix::paletteEntries(dib, size);
    if (entries.empty())
        return nullptr;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = WORD(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        lp->palPalEntry[i] = {entries[i].red, entries[i].green, entries[i].blue, 0};
    HPALETTE palette = CreatePalette(lp);
    if (palette)
        *count = WORD(entries.size());
    return palette;
}

void DrawErrorText(HDC hdc, int code, const char* name, RECT rect) {
    char format[128] = "";
    char text[384] = "";
    LoadStringA(g_instance, UINT(IDS_ERROR_BASE + code), format, sizeof format);
    std::snprintf(text, sizeof text, format, name);
    DrawTextA(hdc, text, -1, &rect, DT_CENTER | DT_WORDBREAK);
}

int DrawDib(HDC hdc, BitmapWindowData* d, BOOL setExtent) {
    int code = pix::kOk;
    if (!d->hDib)
        code = LoadDib(hdc, d);
    if (code == pix::kOk) {
        const SIZE_T size = GlobalSize(d->hDib);
        auto* dib = static_cast<const BYTE*>(GlobalLock(d->hDib));
        if (!dib) {
            code = pix::kNoMemory;
        } else {
            if (!d->palette)
                d->palette = CreateDibPalette(dib, size, &d->colourCount);
            HPALETTE old = selectPalettes(hdc, d);
            if (setExtent)
                SetWindowExtEx(hdc, d->cx, d->cy, nullptr);
            const pix::InfoHeader h = pix::headerOf(dib, size);
            const BYTE* bits = dib + pix::bitsOffset(dib, size);
            const auto* info = reinterpret_cast<const BITMAPINFO*>(dib);
            int result;
            if (d->cachedBitmap && d->cx == h.biWidth && d->cy == h.biHeight) {
                // Unscaled into the cached bitmap, which is selected into hdc.
                result = SetDIBitsToDevice(hdc, d->x, d->y, DWORD(h.biWidth), DWORD(h.biHeight), 0, 0, 0,
                                           UINT(h.biHeight), bits, info, DIB_RGB_COLORS);
            } else {
                const int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
                result = StretchDIBits(hdc, d->x, d->y, d->cx, d->cy, 0, 0, h.biWidth, h.biHeight, bits, info,
                                       DIB_RGB_COLORS, SRCCOPY);
                SetStretchBltMode(hdc, oldMode);
            }
            GlobalUnlock(d->hDib);
            restorePalette(hdc, old);
            if (result != 0 && result != int(GDI_ERROR))
                return result;
            code = pix::kCannotDisplay;
        }
    }
    DrawErrorText(hdc, code, d->name, RECT{0, 2, d->cx, d->cy});
    return 0;
}

HBITMAP RenderDibBitmap(HDC hdc, BitmapWindowData* d) {
    if (!d->hDib && LoadDib(hdc, d) != pix::kOk)
        return nullptr;
    const pix::InfoHeader h = pix::headerOf(static_cast<const BYTE*>(GlobalLock(d->hDib)), GlobalSize(d->hDib));
    GlobalUnlock(d->hDib);
    HDC mem = CreateCompatibleDC(hdc);
    if (!mem)
        return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(hdc, h.biWidth, h.biHeight);
    if (bitmap) {
        HGDIOBJ old = SelectObject(mem, bitmap);
        DrawDib(mem, d, FALSE);
        SelectObject(mem, old);
    }
    DeleteDC(mem);
    return bitmap;
}

BOOL RegisterWindowClass(WNDCLASSA* wc) {
    if (RegisterClassA(wc))
        return TRUE;
    if (GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
        UnregisterClassA(wc->lpszClassName, wc->hInstance);
        return RegisterClassA(wc) != 0;
    }
    return FALSE;
}

} // namespace pixw

extern "C" LRESULT WINAPI BMP_Wnd_Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    using namespace pixw;
    BitmapWindowData* d = message == WM_CREATE ? nullptr : dataOf(hwnd);
    switch (message) {
    case WM_CREATE:
        return onCreate(hwnd, lParam);
    case WM_DESTROY:
        onDestroy(hwnd, d);
        return 0;
    case WM_PAINT:
        if (!d)
            break;
        onPaint(hwnd, d);
        return 0;
    case WM_PALETTECHANGED:
    case WM_QUERYNEWPALETTE:
        return onPaletteMessage(hwnd, d);
    case EWM_RENDER:
        if (d && wParam == CF_BITMAP && lParam)
            return reinterpret_cast<LRESULT>(RenderDibBitmap(reinterpret_cast<RenderRequest*>(lParam)->hdc, d));
        return 0;
    case EWM_QUERYSIZE:
        if (d && lParam) {
            auto* size = reinterpret_cast<POINT*>(lParam);
            if (d->hDib || d->cachedBitmap || loadWithScreen(hwnd, d) == pix::kOk) {
                size->x = d->cx;
                size->y = d->cy;
            } else {
                HDC screen = GetDC(hwnd);
                size->x = 3 * GetDeviceCaps(screen, LOGPIXELSX);
                size->y = GetDeviceCaps(screen, LOGPIXELSY);
                ReleaseDC(hwnd, screen);
            }
        }
        return 0;
    case EWM_ASKPALETTE:
        if (!d)
            return 0;
        if (!d->palette) {
            if (!d->hDib && loadWithScreen(hwnd, d) != pix::kOk)
                return 0;
            auto* dib = static_cast<const BYTE*>(GlobalLock(d->hDib));
            d->palette = CreateDibPalette(dib, GlobalSize(d->hDib), &d->colourCount);
            GlobalUnlock(d->hDib);
        }
        return reinterpret_cast<LRESULT>(d->palette);
    case EWM_FORWARDMOUSE:
        g_forwardMouse = true;
        return 0;
    default:
        if (message >= WM_MOUSEFIRST && message <= 0x209 && g_forwardMouse) {
            HWND parent = GetParent(hwnd);
            if (parent) {
                POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
                MapWindowPoints(hwnd, parent, &pt, 1);
                return SendMessageA(parent, message, wParam, MAKELPARAM(pt.x, pt.y));
            }
        }
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
