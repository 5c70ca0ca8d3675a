// Drawing module bitmaps onto a picture control of a dialog: each bitmap is
// loaded from the module's resources, copied through a memory device
// context and released again, all within the call.
#pragma once

#include "Orbitersdk.h"

namespace medium {

class ControlCanvas {
public:
    ControlCanvas(HWND dialog, int controlId);
    ~ControlCanvas();
    ControlCanvas(const ControlCanvas&) = delete;
    ControlCanvas& operator=(const ControlCanvas&) = delete;

    // Copies the w x h block at (sx, sy) of bitmap `bitmapId` to (x, y).
    void draw(int bitmapId, int x, int y, int w, int h, int sx = 0, int sy = 0, DWORD rop = SRCCOPY);
    // The same from a bitmap file, scaled to w x h; nothing when the file cannot be read.
    void drawFile(const char* path, int x, int y, int w, int h);
    void text(int x, int y, const char* text, COLORREF background);

private:
    HWND control_;
    HDC dc_;
};

// Shows a whole w x h bitmap at the control's origin.
void showImage(HWND dialog, int controlId, int bitmapId, int w, int h);

}  // namespace medium
