#pragma once
// What PIX256W shares with the help viewer and the help-authoring tool:
// the exported entry points, the viewer's messages and records, and the
// file callbacks the viewer hands over. Both are outside this DLL; the
// layouts here are the ones it was built against.

#include <windows.h>

namespace pixw {

// Messages of the viewer's DLL entry.
constexpr WORD DW_WHATMSG = 1;
constexpr WORD DW_CALLBACKS = 10;
constexpr LONG DC_CALLBACKS = 16; // "send me the callbacks"

// Messages of embedded windows.
constexpr UINT EWM_RENDER = 0x706A;
constexpr UINT EWM_QUERYSIZE = 0x706B;
constexpr UINT EWM_ASKPALETTE = 0x706C;
constexpr UINT EWM_FORWARDMOUSE = 0x7099;

constexpr WORD GI_HPATH = 8;

// The record the viewer passes when it creates an embedded window.
struct CreateInfo {
    WORD major;
    WORD minor;
    LPSTR helpFile;
    LPSTR authorData;
};

// The viewer's render request: the device context is its third field.
struct RenderRequest {
    LONG reserved1;
    LONG reserved2;
    HDC hdc;
};

// The viewer's help-file-system functions, by their place in its table.
using HfsOpenSzFn = HANDLE(WINAPI*)(LPSTR name, BYTE mode);
using RcCloseHfsFn = WORD(WINAPI*)(HANDLE hfs);
using HfOpenHfsFn = HANDLE(WINAPI*)(HANDLE hfs, LPSTR name, BYTE mode);
using RcCloseHfFn = WORD(WINAPI*)(HANDLE hf);
using LcbReadHfFn = LONG(WINAPI*)(HANDLE hf, LPVOID buffer, LONG count);
using LSeekHfFn = LONG(WINAPI*)(HANDLE hf, LONG offset, WORD origin);
using GetInfoFn = LONG_PTR(WINAPI*)(WORD what, HWND hwnd);

enum CallbackIndex {
    HE_HfsOpenSz = 1,
    HE_RcCloseHfs = 2,
    HE_HfOpenHfs = 3,
    HE_RcCloseHf = 4,
    HE_LcbReadHf = 5,
    HE_LSeekHf = 7,
    HE_GetInfo = 15,
    HE_TableSize = 16,
};

constexpr BYTE FS_OPEN_READ_ONLY = 2;

// The authoring tool's callback.
using ToolCallback = LONG_PTR(WINAPI*)(LONG code, LONG_PTR a, LONG_PTR b);

// An integer setting asked of the tool (callback code 50).
struct SettingsRequest {
    WORD size;
    WORD reserved;
    LPCSTR section;
    LPCSTR key;
    LPCSTR file;
    LONG result;
    LONG defaultValue;
};

} // namespace pixw

extern "C" {
LONG WINAPI LDLLHandler(WORD message, LPARAM param1, LPARAM param2);
LRESULT WINAPI BMP_Wnd_Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LONG WINAPI QM_Functions(void);
int WINAPI QM_Edit(LPWORD placement, LPSTR buffer, int size, pixw::ToolCallback callback);
}
