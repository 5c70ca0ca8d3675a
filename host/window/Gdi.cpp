// The drawing calls: device contexts on picture controls and on bitmaps,
// BitBlt, text in the built-in font, bitmaps from resources and files.
#include <cstring>
#include <filesystem>

#include "Bmp.h"
#include "Window.h"
#include "sim/InstalledFolders.h"
#include "sim/Simulation.h"

using namespace host;
using namespace host::window;

namespace {

constexpr COLORREF invalidColour = 0xFFFFFFFF;

// Nearest-neighbour scaling, for LoadImage with an explicit size.
std::shared_ptr<Surface> scaled(std::shared_ptr<Surface> s, int cx, int cy) {
    if ((cx <= 0 || cx == s->width()) && (cy <= 0 || cy == s->height()))
        return s;
    int w = cx > 0 ? cx : s->width(), h = cy > 0 ? cy : s->height();
    auto out = std::make_shared<Surface>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out->setPixel(x, y, s->pixel(x * s->width() / w, y * s->height() / h));
    return out;
}

HBITMAP resourceBitmapHandle(HINSTANCE instance, LPCSTR name, int cx, int cy) {
    auto id = reinterpret_cast<UINT_PTR>(name);
    if (id == 0 || id > 0xFFFF)
        return nullptr;  // resources are known by number only
    auto pixels = resourceBitmap(instance, static_cast<int>(id));
    return pixels ? newBitmap(scaled(std::move(pixels), cx, cy)) : nullptr;
}

std::filesystem::path rootFolder() {
    std::error_code ec;
    const Simulation* sim = Simulation::current();
    std::filesystem::path root =
        sim && !sim->rootDir().empty() ? std::filesystem::path(sim->rootDir()) : std::filesystem::current_path(ec);
    return std::filesystem::absolute(root, ec).lexically_normal();
}

// A file under the root folder that the root lacks comes from what the
// installation ships there (the default custom payload pictures).
std::string shippedFallback(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec))
        return path;
    const std::filesystem::path full = std::filesystem::absolute(path, ec).lexically_normal();
    const std::filesystem::path relative = full.lexically_relative(rootFolder());
    if (relative.empty() || *relative.begin() == "..")
        return path;
    const std::filesystem::path shipped = std::filesystem::path(installedFolders().shippedRoot) / relative;
    return std::filesystem::is_regular_file(shipped, ec) ? shipped.string() : path;
}

}  // namespace

HDC GetDC(HWND hWnd) {
    HDC dc = newDC();
    dc->windowDC = true;
    dc->window = liveWindow(hWnd);
    return dc;
}

int ReleaseDC(HWND, HDC hDC) {
    HostDC* dc = liveDC(hDC);
    if (!dc)
        return 0;
    deleteDC(dc);
    return 1;
}

HDC CreateCompatibleDC(HDC) {
    return newDC();
}

BOOL DeleteDC(HDC hdc) {
    HostDC* dc = liveDC(hdc);
    if (!dc)
        return FALSE;
    deleteDC(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    HostDC* dc = liveDC(hdc);
    HostGdiObject* b = liveBitmap(h);
    if (!dc || !b || dc->windowDC)
        return nullptr;  // bitmaps go into memory DCs only
    HostGdiObject* previous = dc->bitmap ? dc->bitmap : stockBitmap();
    if (b->stock) {
        dc->bitmap = nullptr;
    } else {
        ++b->selections;
        dc->bitmap = b;
    }
    releaseSelection(previous);
    return previous;
}

BOOL DeleteObject(HGDIOBJ ho) {
    HostGdiObject* b = liveBitmap(ho);
    if (!b)
        return FALSE;
    deleteBitmap(b);
    return TRUE;
}

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    HostDC* dst = liveDC(hdc);
    HostDC* src = liveDC(hdcSrc);
    if (!dst || !src || (rop != SRCCOPY && rop != SRCPAINT))
        return FALSE;
    Surface* to = targetSurface(dst);  // first: it may copy a shared bitmap the source also uses
    if (!to)
        return TRUE;
    const BlitOp op = rop == SRCCOPY ? BlitOp::Copy : BlitOp::Or;
    // A bitmap's pixels are kept by the record and drawn when the target is
    // read; a window's own pixels are read at once.
    if (std::shared_ptr<const Surface> pixels = bitmapPixels(src))
        to->blit(x, y, cx, cy, std::move(pixels), x1, y1, op);
    else if (const Surface* from = sourceSurface(src))
        to->blit(x, y, cx, cy, *from, x1, y1, op);
    return TRUE;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    HostDC* dc = liveDC(hdc);
    if (!dc)
        return invalidColour;
    COLORREF previous = dc->background;
    dc->background = color;
    return previous;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    HostDC* dc = liveDC(hdc);
    if (!dc)
        return invalidColour;
    COLORREF previous = dc->textColour;
    dc->textColour = color;
    return previous;
}

int SetBkMode(HDC hdc, int mode) {
    HostDC* dc = liveDC(hdc);
    if (!dc || (mode != OPAQUE && mode != TRANSPARENT))
        return 0;
    int previous = dc->backgroundMode;
    dc->backgroundMode = mode;
    return previous;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
    HostDC* dc = liveDC(hdc);
    if (!dc || !lpString || c < 0)
        return FALSE;
    if (Surface* to = targetSurface(dc)) {
        Rgb background = toRgb(dc->background);
        to->text(x, y, std::string_view(lpString, strnlen(lpString, c)), toRgb(dc->textColour),
                 dc->backgroundMode == OPAQUE ? &background : nullptr);
    }
    return TRUE;
}

HBITMAP LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName) {
    return resourceBitmapHandle(hInstance, lpBitmapName, 0, 0);
}

void* LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
    if (type != IMAGE_BITMAP)
        return nullptr;
    if (!(fuLoad & LR_LOADFROMFILE))
        return resourceBitmapHandle(hInst, name, cx, cy);
    if (!name)
        return nullptr;
    auto image = readBmp(shippedFallback(name));
    if (!image)
        return nullptr;
    return newBitmap(scaled(std::make_shared<Surface>(std::move(*image)), cx, cy));
}

// The simulator's current directory is its root folder; here the host's root
// folder plays that part.
DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
    std::error_code ec;
    std::string dir = rootFolder().string();
    if (dir.empty())
        return 0;
    if (!lpBuffer || nBufferLength <= dir.size())
        return static_cast<DWORD>(dir.size() + 1);  // size needed
    std::memcpy(lpBuffer, dir.c_str(), dir.size() + 1);
    return static_cast<DWORD>(dir.size());
}
