#include "ControlCanvas.h"

#include <cstring>

#include "../ModuleState.h"

namespace medium {

ControlCanvas::ControlCanvas(HWND dialog, int controlId)
    : control_(GetDlgItem(dialog, controlId)), dc_(GetDC(control_)) {}

ControlCanvas::~ControlCanvas() {
    ReleaseDC(control_, dc_);
}

void ControlCanvas::draw(int bitmapId, int x, int y, int w, int h, int sx, int sy, DWORD rop) {
    HBITMAP bitmap = LoadBitmapA(moduleInstance, MAKEINTRESOURCE(bitmapId));
    HDC memory = CreateCompatibleDC(dc_);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc_, x, y, w, h, memory, sx, sy, rop);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

void ControlCanvas::drawFile(const char* path, int x, int y, int w, int h) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, w, h, LR_LOADFROMFILE));
    if (!bitmap)
        return;
    HDC memory = CreateCompatibleDC(dc_);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc_, x, y, w, h, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

void ControlCanvas::text(int x, int y, const char* text, COLORREF background) {
    SetBkColor(dc_, background);
    TextOutA(dc_, x, y, text, static_cast<int>(std::strlen(text)));
}

void showImage(HWND dialog, int controlId, int bitmapId, int w, int h) {
    ControlCanvas(dialog, controlId).draw(bitmapId, 0, 0, w, h);
}

}  // namespace medium
