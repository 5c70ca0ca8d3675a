// A 24-bit pixel surface: what a picture control shows and what a bitmap
// holds. Drawing is clipped to the surface (and to an optional rectangle).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace host {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

enum class BlitOp { Copy, Or };

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, Rgb fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }

    Rgb pixel(int x, int y) const;  // black outside the surface
    void setPixel(int x, int y, Rgb c);
    void fill(Rect r, Rgb c);
    void frame(Rect r, Rgb c);  // one-pixel outline

    // Copies a w x h block of src at (sx, sy) to (dx, dy), combining with op;
    // the parts outside either surface are left out.
    void blit(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, BlitOp op);

    // Text in the built-in font, top-left corner at (x, y). With a background
    // colour the character cells are filled first. Drawing stays inside clip.
    void text(int x, int y, std::string_view s, Rgb fg, const Rgb* bg, Rect clip);
    void text(int x, int y, std::string_view s, Rgb fg, const Rgb* bg) {
        text(x, y, s, fg, bg, Rect{0, 0, width_, height_});
    }

    const std::vector<uint8_t>& rgb() const { return rgb_; }  // rows top to bottom, r g b per pixel

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> rgb_;
};

}  // namespace host
