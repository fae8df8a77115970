#pragma once
// The embedded window class "PIX256W": one bitmap per window, loaded from
// the help file's baggage or from disk, drawn with its own palette.
// Everything runs on the help viewer's window thread.

#include "HelpViewer.h"

namespace pixw {

struct BitmapWindowData {
    char name[260];
    int fromHelpFile;
    HGLOBAL hDib;
    HPALETTE palette;
    HPALETTE parentPalette;
    int x, y;
    int cx, cy;
    HBITMAP cachedBitmap;
    WORD colourCount;
    int busy;
    char helpFile[260];
};

// The viewer's callbacks as registered by one process.
struct CallbackRecord {
    CallbackRecord* next;
    HANDLE process;
    HfsOpenSzFn hfsOpenSz;
    RcCloseHfsFn rcCloseHfs;
    HfOpenHfsFn hfOpenHfs;
    RcCloseHfFn rcCloseHf;
    LcbReadHfFn lcbReadHf;
    LSeekHfFn lSeekHf;
    GetInfoFn getInfo;
};

extern HINSTANCE g_instance;
extern CallbackRecord* g_callbacks;

// Loading and drawing, shared with the authoring dialog's preview.
int LoadDib(HDC hdc, BitmapWindowData* d);
int LoadDibFromHelpFile(HDC hdc, BitmapWindowData* d);
HPALETTE CreateDibPalette(const BYTE* dib, SIZE_T size, WORD* count);
int DrawDib(HDC hdc, BitmapWindowData* d, BOOL setExtent);
HBITMAP RenderDibBitmap(HDC hdc, BitmapWindowData* d);
// Draws the text of error `code` with the picture's name, centred with
// word breaks in `rect`.
void DrawErrorText(HDC hdc, int code, const char* name, RECT rect);
// Frees the DIB and deletes the palette of a record.
void FreeDib(BitmapWindowData* d);

BOOL RegisterWindowClass(WNDCLASSA* wc);

} // namespace pixw
