// A small vessel module with one dialog, used by the window layer's tests.
// Key D opens the dialog; its procedure answers every control the way a
// launcher dialog would, and reports what it saw in its static texts.
#include <cstdio>
#include <cstring>

#include "Orbitersdk.h"

namespace {

HINSTANCE moduleInstance = 0;
int editChanges = 0;
int paints = 0;
int destroyed = 0;

void report(HWND hDlg, int id, const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    SetDlgItemTextA(hDlg, id, text);
}

// Copies bitmap 200 onto the picture, ORs it over itself four pixels to the
// right, and writes "A" on a green background below.
void drawPicture(HWND hDlg) {
    HBITMAP bitmap = LoadBitmapA(moduleInstance, MAKEINTRESOURCE(200));
    HDC dc = GetDC(GetDlgItem(hDlg, 50));
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc, 0, 0, 8, 4, memory, 0, 0, SRCCOPY);
    BitBlt(dc, 4, 0, 8, 4, memory, 0, 0, SRCPAINT);
    SetBkColor(dc, RGB(0, 255, 0));
    TextOutA(dc, 0, 8, "A", 1);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(GetDlgItem(hDlg, 50), dc);
}

INT_PTR CALLBACK DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    char text[64];
    switch (uMsg) {
        case WM_INITDIALOG:
            SetDlgItemTextA(hDlg, 10, "ready");
            SendDlgItemMessageA(hDlg, 41, CB_ADDSTRING, 0, (LPARAM) "Earth");
            SendDlgItemMessageA(hDlg, 41, CB_ADDSTRING, 0, (LPARAM) "Moon");
            SendDlgItemMessageA(hDlg, 41, CB_ADDSTRING, 0, (LPARAM) "Mars");
            report(hDlg, 65, "destroyed %d", destroyed);
            SetDlgItemTextA(hDlg, 66, oapiGetDialogContext(hDlg) == (void*)lParam ? "context ok" : "context lost");
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case 10:
                    if (HIWORD(wParam) == EN_CHANGE)
                        report(hDlg, 61, "changes %d", ++editChanges);
                    return TRUE;
                case 20:
                    GetDlgItemTextA(hDlg, 10, text + 4, sizeof text - 4);
                    std::memcpy(text, "got ", 4);
                    SetDlgItemTextA(hDlg, 60, text);
                    drawPicture(hDlg);
                    return TRUE;
                case 31:
                case 32:
                case 33:
                    report(hDlg, 62, "radio %d", LOWORD(wParam));
                    return TRUE;
                case 41:
                    if (HIWORD(wParam) == CBN_SELCHANGE) {
                        LRESULT index = SendDlgItemMessageA(hDlg, 41, CB_GETCURSEL, 0, 0);
                        std::strcpy(text, "picked ");
                        SendDlgItemMessageA(hDlg, 41, CB_GETLBTEXT, index, (LPARAM)(text + 7));
                        SetDlgItemTextA(hDlg, 63, text);
                    }
                    return TRUE;
                case 21:
                    // Closing from inside the procedure; the handle is dead afterwards.
                    oapiCloseDialog(hDlg);
                    SetDlgItemTextA(hDlg, 60, "after close");
                    return TRUE;
                case IDCANCEL:
                    oapiCloseDialog(hDlg);
                    return TRUE;
            }
            break;
        case WM_PAINT:
            report(hDlg, 64, "paints %d", ++paints);
            break;
        case WM_DESTROY:
            ++destroyed;
            return TRUE;
    }
    return oapiDefDialogProc(hDlg, uMsg, wParam, lParam);
}

class WindowTester : public VESSEL2 {
public:
    WindowTester(OBJHANDLE hVessel, int flightmodel) : VESSEL2(hVessel, flightmodel) {}

    void clbkSetClassCaps(FILEHANDLE cfg) override {
        SetSize(2);
        SetEmptyMass(100);
    }

    int clbkConsumeBufferedKey(DWORD key, bool down, char* kstate) override {
        if (!down)
            return 0;
        if (key == OAPI_KEY_D) {
            oapiOpenDialog(moduleInstance, 100, DialogProc, this);
            return 1;
        }
        if (key == OAPI_KEY_C) {
            oapiCloseDialog(oapiFindDialog(moduleInstance, 100));
            return 1;
        }
        return 0;
    }
};

}  // namespace

DLLCLBK void InitModule(HINSTANCE hModule) {
    moduleInstance = hModule;
}

DLLCLBK void ExitModule(HINSTANCE hModule) {}

DLLCLBK VESSEL* ovcInit(OBJHANDLE hvessel, int flightmodel) {
    return new WindowTester(hvessel, flightmodel);
}

DLLCLBK void ovcExit(VESSEL* vessel) {
    oapiCloseDialog(oapiFindDialog(moduleInstance, 100));
    delete static_cast<WindowTester*>(vessel);
}
