// The window system's control calls: texts, check states, enabled and shown
// flags, combo lists, messages.
#include <algorithm>
#include <cstring>
#include <strings.h>

#include "Dialogs.h"
#include "Window.h"
#include "sim/ShownText.h"

using host::ControlKind;
using host::window::liveControl;
using host::window::liveDialog;
using host::window::liveWindow;

namespace {

int copyText(const std::string& text, LPSTR buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    int n = std::min(static_cast<int>(text.size()), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

LRESULT comboMessage(HostWindow* c, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& items = c->items;
    const auto count = static_cast<LRESULT>(items.size());
    const auto index = static_cast<LRESULT>(static_cast<INT_PTR>(wParam));  // -1 arrives as all bits set
    const bool valid = index >= 0 && index < count;
    switch (msg) {
        case CB_ADDSTRING:
            items.emplace_back(lParam ? reinterpret_cast<const char*>(lParam) : "");
            return count;
        case CB_GETCOUNT:
            return count;
        case CB_GETCURSEL:
            return c->selection >= 0 ? c->selection : CB_ERR;
        case CB_SETCURSEL:
            c->selection = valid ? static_cast<int>(index) : -1;
            return valid ? index : CB_ERR;
        case CB_GETLBTEXTLEN:
            return valid ? static_cast<LRESULT>(items[index].size()) : CB_ERR;
        case CB_GETLBTEXT: {
            // As in the window system the caller's buffer must hold the whole entry.
            if (!valid || !lParam)
                return CB_ERR;
            const std::string& s = items[index];
            std::memcpy(reinterpret_cast<char*>(lParam), s.c_str(), s.size() + 1);
            return static_cast<LRESULT>(s.size());
        }
        case CB_RESETCONTENT:
            items.clear();
            c->selection = -1;
            return 0;
        case CB_FINDSTRINGEXACT: {
            if (!lParam || items.empty())
                return CB_ERR;
            const char* wanted = reinterpret_cast<const char*>(lParam);
            LRESULT start = valid ? index + 1 : 0;  // searches after wParam, round to the start
            for (LRESULT k = 0; k < count; ++k) {
                LRESULT i = (start + k) % count;
                if (strcasecmp(items[i].c_str(), wanted) == 0)
                    return i;
            }
            return CB_ERR;
        }
        default:
            return 0;
    }
}

}  // namespace

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
    return liveControl(hDlg, nIDDlgItem);
}

int GetDlgCtrlID(HWND hWnd) {
    HostWindow* w = liveWindow(hWnd);
    return w && !w->isDialog ? w->id : 0;
}

namespace {

// On a window already found live (a control found in its live dialog is one).
BOOL setText(HostWindow* w, LPCSTR text) {
    if (!w)
        return FALSE;
    const char* t = text ? text : "";
    if (!host::showsText(w->text, t))
        w->text.assign(t);
    return TRUE;
}

int getText(HostWindow* w, LPSTR text, int maxCount) {
    if (!w) {
        copyText("", text, maxCount);
        return 0;
    }
    return copyText(w->text, text, maxCount);
}

}  // namespace

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    return setText(liveWindow(hWnd), lpString);
}

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    return getText(liveWindow(hWnd), lpString, nMaxCount);
}

BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
    return setText(liveControl(hDlg, nIDDlgItem), lpString);
}

UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
    return static_cast<UINT>(getText(liveControl(hDlg, nIDDlgItem), lpString, cchMax));
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    HostWindow* c = liveControl(hDlg, nIDButton);
    if (!c)
        return FALSE;
    c->checked = uCheck != BST_UNCHECKED;
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    HostWindow* c = liveControl(hDlg, nIDButton);
    return c && c->checked ? BST_CHECKED : BST_UNCHECKED;
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    HostWindow* d = liveDialog(hDlg);
    if (!d)
        return FALSE;
    for (auto& c : d->controls)
        if ((c->kind == ControlKind::Radio || c->kind == ControlKind::Check) && c->id >= nIDFirstButton &&
            c->id <= nIDLastButton)
            c->checked = c->id == nIDCheckButton;
    return TRUE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    HostWindow* w = liveWindow(hWnd);
    if (!w)
        return FALSE;
    BOOL wasDisabled = !w->enabled;
    w->enabled = bEnable != FALSE;
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd) {
    HostWindow* w = liveWindow(hWnd);
    return w && w->enabled;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    HostWindow* w = liveWindow(hWnd);
    if (!w)
        return FALSE;
    BOOL wasVisible = w->visible;
    w->visible = nCmdShow != SW_HIDE;
    if (w->visible && !wasVisible)
        w->dialog->paintPending = true;  // shown again: it will be painted
    return wasVisible;
}

BOOL IsWindowVisible(HWND hWnd) {
    HostWindow* w = liveWindow(hWnd);
    return w && w->visible && w->dialog->visible;
}

BOOL IsWindow(HWND hWnd) {
    return liveWindow(hWnd) != nullptr;
}

BOOL InvalidateRect(HWND hWnd, const void*, BOOL) {
    HostWindow* w = liveWindow(hWnd);
    if (!w)
        return FALSE;
    w->dialog->paintPending = true;
    return TRUE;
}

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    HostWindow* w = liveWindow(hWnd);
    if (!w)
        return 0;
    if (w->isDialog) {
        // To the dialog procedure, as the window system does; a procedure
        // without its own answer gets the default handling.
        return host::window::sendToDialog(w, Msg, wParam, lParam);
    }
    switch (Msg) {
        case BM_GETCHECK:
            return w->checked ? BST_CHECKED : BST_UNCHECKED;
        case BM_SETCHECK:
            w->checked = wParam != BST_UNCHECKED;
            return 0;
        default:
            break;
    }
    if (w->kind == ControlKind::Combo)
        return comboMessage(w, Msg, wParam, lParam);
    return 0;
}

LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(liveControl(hDlg, nIDDlgItem), Msg, wParam, lParam);
}

BOOL EndDialog(HWND hDlg, INT_PTR) {
    if (!liveDialog(hDlg))
        return FALSE;
    oapiCloseDialog(hDlg);
    return TRUE;
}
