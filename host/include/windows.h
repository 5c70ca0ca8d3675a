// The subset of the window system's interface the launcher dialogs use:
// handles, messages, control calls and the drawing calls for picture controls.
// The host implements it headlessly (dialogs with real controls and pixel surfaces).
#pragma once

#include <cstdint>

#define WINAPI
#define CALLBACK

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef long LONG;
typedef intptr_t INT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t UINT_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef DWORD COLORREF;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef NULL
#define NULL 0
#endif
#ifndef MAX_PATH
#define MAX_PATH 260
#endif

typedef struct HostInstance* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HostWindow* HWND;
typedef struct HostDC* HDC;
typedef struct HostGdiObject* HGDIOBJ;
typedef struct HostGdiObject* HBITMAP;

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))

#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((UINT_PTR)(l)) >> 16) & 0xffff))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)((WORD)(l) | ((DWORD)(WORD)(h) << 16)))
#define MAKEINTRESOURCE(i) ((LPSTR)((UINT_PTR)((WORD)(i))))

// messages
#define WM_DESTROY 0x0002
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_TIMER 0x0113

// notification codes carried in HIWORD(wParam) of WM_COMMAND
#define BN_CLICKED 0
#define EN_CHANGE 0x0300
#define CBN_SELCHANGE 1

// standard dialog ids
#define IDOK 1
#define IDCANCEL 2

// buttons
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001

// combo boxes
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_ADDSTRING 0x0143
#define CB_RESETCONTENT 0x014B
#define CB_SETCURSEL 0x014E
#define CB_FINDSTRINGEXACT 0x0158
#define CB_ERR (-1)

// show states
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5

// raster operations
#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086

// background modes
#define TRANSPARENT 1
#define OPAQUE 2

// LoadImage
#define IMAGE_BITMAP 0
#define LR_LOADFROMFILE 0x0010
#define LR_DEFAULTSIZE 0x0040

#define WINUSERAPI __attribute__((visibility("default")))

// controls and windows
WINUSERAPI HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
WINUSERAPI int GetDlgCtrlID(HWND hWnd);
WINUSERAPI BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString);
WINUSERAPI int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
WINUSERAPI BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
WINUSERAPI UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax);
WINUSERAPI BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
WINUSERAPI UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
WINUSERAPI BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
WINUSERAPI BOOL EnableWindow(HWND hWnd, BOOL bEnable);
WINUSERAPI BOOL IsWindowEnabled(HWND hWnd);
WINUSERAPI BOOL ShowWindow(HWND hWnd, int nCmdShow);
WINUSERAPI BOOL IsWindowVisible(HWND hWnd);
WINUSERAPI BOOL IsWindow(HWND hWnd);
WINUSERAPI BOOL InvalidateRect(HWND hWnd, const void* lpRect, BOOL bErase);
WINUSERAPI LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
WINUSERAPI LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
WINUSERAPI BOOL EndDialog(HWND hDlg, INT_PTR nResult);

// drawing
WINUSERAPI HDC GetDC(HWND hWnd);
WINUSERAPI int ReleaseDC(HWND hWnd, HDC hDC);
WINUSERAPI HDC CreateCompatibleDC(HDC hdc);
WINUSERAPI BOOL DeleteDC(HDC hdc);
WINUSERAPI HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
WINUSERAPI BOOL DeleteObject(HGDIOBJ ho);
WINUSERAPI BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
WINUSERAPI COLORREF SetBkColor(HDC hdc, COLORREF color);
WINUSERAPI COLORREF SetTextColor(HDC hdc, COLORREF color);
WINUSERAPI int SetBkMode(HDC hdc, int mode);
WINUSERAPI BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c);
WINUSERAPI HBITMAP LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName);
WINUSERAPI void* LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad);

// process
WINUSERAPI DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer);
