// The authoring side: QM_Functions, QM_Edit and the "Choose Baggage File"
// dialog with its preview.
#include "BitmapWindow.h"
#include "resource.h"

#include "helpbmp/dib/Authoring.h"
#include "helpbmp/dib/Dib.h"

#include <commdlg.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

using namespace pixw;

namespace {

bool g_dialogOpen = false;
UINT g_commdlgHelp = 0;

// What QM_Edit hands the dialog, and the dialog's own state.
struct EditRecord {
    WORD placement;
    char dllName[256];
    int dllNameSize;
    char pictureName[260];
    int pictureNameSize;
    ToolCallback callback;

    BOOL threeD;
    std::string previewName;
    int previewFromHelpFile;
    bool previewBlank;
    bool previewDrawn;
};

std::string loadString(UINT id) {
    char buf[256] = "";
    LoadStringA(g_instance, id, buf, sizeof buf);
    return buf;
}

EditRecord* recordOf(HWND dlg) { return reinterpret_cast<EditRecord*>(GetWindowLongPtrA(dlg, DWLP_USER)); }

std::string editText(HWND dlg) {
    char buf[260] = "";
    GetDlgItemTextA(dlg, IDC_NAME, buf, sizeof buf);
    return buf;
}

void showHelp(HWND owner, DWORD context) {
    char path[MAX_PATH] = "";
    const DWORD n = GetModuleFileNameA(g_instance, path, MAX_PATH);
    if (n < 3)
        return;
    std::strcpy(path + n - 3, "hlp");
    WinHelpA(owner, path, HELP_CONTEXT, context);
}

void drawFrame(HDC hdc, RECT r, BOOL threeD) {
    const auto line = [hdc](int x1, int y1, int x2, int y2, int colour) {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(colour));
        HGDIOBJ old = SelectObject(hdc, pen);
        MoveToEx(hdc, x1, y1, nullptr);
        LineTo(hdc, x2, y2);
        SelectObject(hdc, old);
        DeleteObject(pen);
    };
    RECT inside = r;
    if (threeD) {
        // A sunken two-line frame.
        line(r.left, r.bottom - 1, r.left, r.top, COLOR_BTNSHADOW);
        line(r.left, r.top, r.right - 1, r.top, COLOR_BTNSHADOW);
        line(r.right - 1, r.top, r.right - 1, r.bottom - 1, COLOR_BTNHIGHLIGHT);
        line(r.right - 1, r.bottom - 1, r.left, r.bottom - 1, COLOR_BTNHIGHLIGHT);
        line(r.left + 1, r.bottom - 2, r.left + 1, r.top + 1, COLOR_WINDOWFRAME);
        line(r.left + 1, r.top + 1, r.right - 2, r.top + 1, COLOR_WINDOWFRAME);
        line(r.right - 2, r.top + 1, r.right - 2, r.bottom - 2, COLOR_BTNFACE);
        line(r.right - 2, r.bottom - 2, r.left + 1, r.bottom - 2, COLOR_BTNFACE);
        InflateRect(&inside, -2, -2);
    } else {
        HBRUSH frame = GetSysColorBrush(COLOR_WINDOWFRAME);
        FrameRect(hdc, &r, frame);
        InflateRect(&inside, -1, -1);
    }
    FillRect(hdc, &inside, GetSysColorBrush(COLOR_WINDOW));
}

// Draws the picture `name` ("*" for a disk file) fitted into the sample frame.
void PaintPreview(HWND dlg, const std::string& name, BOOL threeD, bool force) {
    EditRecord* rec = recordOf(dlg);
    const bool disk = !name.empty() && name[0] == '*';
    const int fromHelpFile = disk ? 0 : 1;
    if (!force && rec->previewDrawn && name == rec->previewName && fromHelpFile == rec->previewFromHelpFile)
        return;
    rec->previewName = name;
    rec->previewFromHelpFile = fromHelpFile;
    rec->previewDrawn = true;

    HWND frame = GetDlgItem(dlg, IDC_SAMPLE);
    RECT r;
    GetClientRect(frame, &r);
    HDC hdc = GetDC(frame);
    if (!rec->previewBlank || force)
        drawFrame(hdc, r, threeD);
    const std::string bare = disk ? name.substr(1) : name;
    if (bare.empty()) {
        rec->previewBlank = true;
        ReleaseDC(frame, hdc);
        return;
    }
    rec->previewBlank = false;

    BitmapWindowData d{};
    std::strncpy(d.name, pix::toUpper(bare).c_str(), sizeof d.name - 1);
    d.fromHelpFile = fromHelpFile;
    // Disk names are relative to the project folder.
    char folder[260] = "";
    if (rec->callback(11, reinterpret_cast<LONG_PTR>(folder), sizeof folder) == 0 && folder[0]) {
        std::string f = folder;
        if (f.back() != '\\' && f.back() != '/')
            f += '\\';
        std::strncpy(d.helpFile, f.c_str(), sizeof d.helpFile - 1);
    }
    const int rc = LoadDib(hdc, &d);
    if (rc == pix::kOk) {
        const pix::Placement p = pix::fitPreview(r.right - r.left, r.bottom - r.top, d.cx, d.cy);
        d.x = p.x;
        d.y = p.y;
        d.cx = p.cx;
        d.cy = p.cy;
        DrawDib(hdc, &d, FALSE);
    } else if (rc != pix::kCannotOpen && rc != pix::kCannotOpenBaggage) {
        RECT text = r;
        InflateRect(&text, -5, -5);
        DrawErrorText(hdc, rc, d.name, text);
    }
    FreeDib(&d);
    ReleaseDC(frame, hdc);
}

void updateButtons(HWND dlg) {
    const std::string text = editText(dlg);
    const pix::EditButtons b = pix::editButtons(text);
    EnableWindow(GetDlgItem(dlg, IDOK), b.ok);
    EnableWindow(GetDlgItem(dlg, IDC_ADD), b.addToBaggage);
    // Keep the list selection only while the text is exactly its entry.
    HWND list = GetDlgItem(dlg, IDC_BAGGAGE);
    const LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (sel != LB_ERR) {
        const LRESULT len = SendMessageA(list, LB_GETTEXTLEN, WPARAM(sel), 0);
        std::string entry(std::size_t(len > 0 ? len : 0) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, WPARAM(sel), reinterpret_cast<LPARAM>(entry.data()));
        entry.resize(std::strlen(entry.c_str()));
        if (entry != text)
            SendMessageA(list, LB_SETCURSEL, WPARAM(-1), 0);
    }
}

BOOL readThreeD(EditRecord* rec) {
    const std::string section = loadString(IDS_STARTUP);
    const std::string key = loadString(IDS_3D_DIALOGS);
    if (rec->callback(0, 0, 0) > 0x20100) {
        SettingsRequest s{};
        s.size = WORD(sizeof s);
        s.section = section.c_str();
        s.key = key.c_str();
        s.defaultValue = 1;
        s.result = 1;
        rec->callback(50, reinterpret_cast<LONG_PTR>(&s), 0);
        return s.result != 0;
    }
    return GetPrivateProfileIntA(section.c_str(), key.c_str(), 1, loadString(IDS_SETTINGS_FILE).c_str()) != 0;
}

// Lists the project's baggage files; false when the tool cannot.
bool fillBaggageList(HWND dlg, EditRecord* rec) {
    const LONG_PTR size = rec->callback(2, 0, 0);
    if (size <= 0 || size > 65536)
        return false;
    std::vector<char> name(std::size_t(size) + 1, '\0');
    HWND list = GetDlgItem(dlg, IDC_BAGGAGE);
    for (LONG_PTR pos = rec->callback(3, reinterpret_cast<LONG_PTR>(name.data()), 0); pos != 0;
         pos = rec->callback(4, reinterpret_cast<LONG_PTR>(name.data()), pos)) {
        name[std::size_t(size)] = '\0';
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pix::toLower(name.data()).c_str()));
    }
    rec->callback(5, 0, 0);
    return true;
}

void addToBaggage(HWND dlg, EditRecord* rec) {
    const std::string text = editText(dlg);
    if (text.size() < 2 || text[0] != '*')
        return;
    std::string path = text.substr(1);
    path.resize(259 < path.size() ? 259 : path.size());
    if (rec->callback(7, reinterpret_cast<LONG_PTR>(path.c_str()), 259)) {
        const std::string name = pix::fileNameOf(path);
        HWND list = GetDlgItem(dlg, IDC_BAGGAGE);
        const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageA(list, LB_SETCURSEL, WPARAM(at), 0);
        SetDlgItemTextA(dlg, IDC_NAME, name.c_str());
        SetFocus(list);
    } else {
        MessageBoxA(dlg, loadString(IDS_ADD_FAILED).c_str(), nullptr, MB_OK);
    }
}

void browse(HWND dlg, EditRecord* rec) {
    std::string filter = loadString(IDS_FILTER);
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    const std::string title = loadString(IDS_BROWSE_TITLE);
    char startFolder[260] = "";
    rec->callback(13, reinterpret_cast<LONG_PTR>(startFolder), sizeof startFolder);
    char file[260] = "";
    const std::string current = editText(dlg);
    if (!current.empty() && current[0] == '*')
        std::strncpy(file, current.c_str() + 1, sizeof file - 1);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dlg;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = startFolder[0] ? startFolder : nullptr;
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_SHOWHELP | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (GetOpenFileNameA(&ofn)) {
        const std::string chosen = pix::toLower(file);
        SetDlgItemTextA(dlg, IDC_NAME, ("*" + chosen).c_str());
        EnableWindow(GetDlgItem(dlg, IDC_ADD), TRUE);
        PaintPreview(dlg, editText(dlg), rec->threeD, false);
        char project[260] = "";
        if (rec->callback(11, reinterpret_cast<LONG_PTR>(project), sizeof project) == 0 && project[0])
            SetDlgItemTextA(dlg, IDC_NAME, pix::diskNameFor(chosen, project).c_str());
    }
    SendDlgItemMessageA(dlg, IDC_NAME, EM_SETSEL, 0, -1);
    SetFocus(GetDlgItem(dlg, IDC_NAME));
}

void finishOk(HWND dlg, EditRecord* rec) {
    std::strcpy(rec->dllName, "PIX256W");
    GetDlgItemTextA(dlg, IDC_NAME, rec->pictureName, sizeof rec->pictureName);
    if (rec->pictureName[0] == '*' &&
        MessageBoxA(dlg, loadString(IDS_MAKE_BAGGAGE).c_str(), loadString(IDS_DIALOG_TITLE).c_str(),
                    MB_ICONQUESTION | MB_YESNO) == IDYES) {
        addToBaggage(dlg, rec);
        GetDlgItemTextA(dlg, IDC_NAME, rec->pictureName, sizeof rec->pictureName);
    }
    rec->placement = IsDlgButtonChecked(dlg, IDC_LEFT) ? 1 : IsDlgButtonChecked(dlg, IDC_RIGHT) ? 2 : 0;
    EndDialog(dlg, 1);
}

BOOL onInit(HWND dlg, EditRecord* rec) {
    SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(rec));
    rec->threeD = readThreeD(rec);
    SendDlgItemMessageA(dlg, IDC_NAME, EM_LIMITTEXT, 259, 0);
    rec->pictureName[259] = '\0';
    if (!fillBaggageList(dlg, rec)) {
        EndDialog(dlg, -1);
        return TRUE;
    }
    SetDlgItemTextA(dlg, IDC_NAME, pix::toLower(rec->pictureName).c_str());
    updateButtons(dlg);
    PaintPreview(dlg, editText(dlg), rec->threeD, true);
    const int radio = rec->placement == 1 ? IDC_LEFT : rec->placement == 2 ? IDC_RIGHT : IDC_CHARACTER;
    CheckRadioButton(dlg, IDC_CHARACTER, IDC_RIGHT, radio);
    return TRUE;
}

INT_PTR CALLBACK ChooseBaggageDlgProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return onInit(dlg, reinterpret_cast<EditRecord*>(lParam));
    EditRecord* rec = recordOf(dlg);
    if (!rec)
        return FALSE;
    if (g_commdlgHelp && message == g_commdlgHelp) {
        showHelp(dlg, 2);
        return TRUE;
    }
    switch (message) {
    case WM_DRAWITEM: {
        const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam == IDC_SAMPLE && di->itemAction == ODA_DRAWENTIRE)
            PaintPreview(dlg, editText(dlg), rec->threeD, true);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_NAME:
            if (HIWORD(wParam) == EN_CHANGE) {
                updateButtons(dlg);
                PaintPreview(dlg, editText(dlg), rec->threeD, false);
            }
            return TRUE;
        case IDC_BAGGAGE:
            if (HIWORD(wParam) == LBN_SELCHANGE) {
                HWND list = GetDlgItem(dlg, IDC_BAGGAGE);
                const LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
                if (sel != LB_ERR) {
                    char name[260] = "";
                    if (SendMessageA(list, LB_GETTEXTLEN, WPARAM(sel), 0) < LRESULT(sizeof name))
                        SendMessageA(list, LB_GETTEXT, WPARAM(sel), reinterpret_cast<LPARAM>(name));
                    SetDlgItemTextA(dlg, IDC_NAME, name);
                    SendMessageA(list, LB_SETCURSEL, WPARAM(sel), 0);
                }
            } else if (HIWORD(wParam) == LBN_DBLCLK) {
                finishOk(dlg, rec);
            }
            return TRUE;
        case IDC_BROWSE:
            browse(dlg, rec);
            return TRUE;
        case IDC_ADD:
            addToBaggage(dlg, rec);
            return TRUE;
        case IDOK:
            finishOk(dlg, rec);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 2);
            return TRUE;
        case IDC_CHANGE_DLL:
            EndDialog(dlg, 5);
            return TRUE;
        case IDC_HELPBUTTON:
            showHelp(dlg, 1);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

extern "C" LONG WINAPI QM_Functions(void) { return 3; }

extern "C" int WINAPI QM_Edit(LPWORD placement, LPSTR buffer, int size, ToolCallback callback) {
    if (g_dialogOpen) {
        MessageBoxA(nullptr, loadString(IDS_ONE_DIALOG).c_str(), nullptr, MB_TASKMODAL);
        return 2;
    }
    auto* rec = new (std::nothrow) EditRecord{};
    if (!rec || !callback)
        return 5;
    g_dialogOpen = true;
    g_commdlgHelp = RegisterWindowMessageA("commdlg_help");

    const pix::EditNames in = pix::unpackNames(buffer, size);
    std::strncpy(rec->dllName, in.dll.c_str(), sizeof rec->dllName - 1);
    std::strncpy(rec->pictureName, in.picture.c_str(), sizeof rec->pictureName - 1);
    rec->dllNameSize = sizeof rec->dllName;
    rec->pictureNameSize = sizeof rec->pictureName;
    rec->placement = placement ? *placement : 0;
    rec->callback = callback;

    HWND owner = reinterpret_cast<HWND>(callback(9, 0, 0));
    INT_PTR result = DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_CHOOSE_BAGGAGE), owner, ChooseBaggageDlgProc,
                                     reinterpret_cast<LPARAM>(rec));
    if (result == 1) {
        if (placement)
            *placement = rec->placement;
        if (!pix::packNames({rec->dllName, rec->pictureName}, buffer, size))
            result = 5;
    }
    delete rec;
    g_dialogOpen = false;
    return int(result);
}
