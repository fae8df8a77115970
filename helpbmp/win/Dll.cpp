// The DLL entry (registers the window class) and the viewer's DLL message
// entry LDLLHandler (takes the viewer's file callbacks).
#include "BitmapWindow.h"

#include <new>

using namespace pixw;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        WNDCLASSA wc{};
        wc.style = CS_GLOBALCLASS;
        wc.lpfnWndProc = BMP_Wnd_Proc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = instance;
        wc.lpszClassName = "PIX256W";
        RegisterWindowClass(&wc);
    }
    return TRUE;
}

extern "C" LONG WINAPI LDLLHandler(WORD message, LPARAM param1, LPARAM) {
    switch (message) {
    case DW_WHATMSG:
        return DC_CALLBACKS;
    case DW_CALLBACKS: {
        // The viewer's table of function addresses.
        auto* table = reinterpret_cast<void* const*>(param1);
        if (!table)
            return 0;
        auto* r = new (std::nothrow) CallbackRecord{};
        if (!r)
            return 0;
        r->process = GetCurrentProcess();
        r->hfsOpenSz = reinterpret_cast<HfsOpenSzFn>(table[HE_HfsOpenSz]);
        r->rcCloseHfs = reinterpret_cast<RcCloseHfsFn>(table[HE_RcCloseHfs]);
        r->hfOpenHfs = reinterpret_cast<HfOpenHfsFn>(table[HE_HfOpenHfs]);
        r->rcCloseHf = reinterpret_cast<RcCloseHfFn>(table[HE_RcCloseHf]);
        r->lcbReadHf = reinterpret_cast<LcbReadHfFn>(table[HE_LcbReadHf]);
        r->lSeekHf = reinterpret_cast<LSeekHfFn>(table[HE_LSeekHf]);
        r->getInfo = reinterpret_cast<GetInfoFn>(table[HE_GetInfo]);
        r->next = g_callbacks;
        g_callbacks = r;
        return 0;
    }
    default:
        return 0;
    }
}
