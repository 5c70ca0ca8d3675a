#include "Surface.h"

#include <algorithm>

#include "Font.h"

namespace host {

Surface::Surface(int width, int height, Rgb fill) : width_(std::max(0, width)), height_(std::max(0, height)) {
    rgb_.resize(static_cast<size_t>(width_) * height_ * 3);
    for (size_t i = 0; i < rgb_.size(); i += 3) {
        rgb_[i] = fill.r;
        rgb_[i + 1] = fill.g;
        rgb_[i + 2] = fill.b;
    }
}

Rgb Surface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    const uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
    return {p[0], p[1], p[2]};
}

void Surface::setPixel(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void Surface::fill(Rect r, Rgb c) {
    int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
    int x1 = std::min(r.x + r.w, width_), y1 = std::min(r.y + r.h, height_);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            setPixel(x, y, c);
}

void Surface::frame(Rect r, Rgb c) {
    if (r.w <= 0 || r.h <= 0)
        return;
    fill({r.x, r.y, r.w, 1}, c);
    fill({r.x, r.y + r.h - 1, r.w, 1}, c);
    fill({r.x, r.y, 1, r.h}, c);
    fill({r.x + r.w - 1, r.y, 1, r.h}, c);
}

void Surface::blit(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, BlitOp op) {
    // Trim the block so that it lies inside both surfaces.
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        h += sy;
        sy = 0;
    }
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    w = std::min({w, src.width_ - sx, width_ - dx});
    h = std::min({h, src.height_ - sy, height_ - dy});
    if (w <= 0 || h <= 0)
        return;

    // Source and destination may be the same surface: copy the rows through
    // a buffer when the block overlaps itself.
    const bool sameSurface = &src == this;
    std::vector<uint8_t> rowBuffer;
    for (int row = 0; row < h; ++row) {
        int srcRow = (sameSurface && dy > sy) ? h - 1 - row : row;  // bottom-up when moving down
        const uint8_t* s = &src.rgb_[((static_cast<size_t>(sy) + srcRow) * src.width_ + sx) * 3];
        uint8_t* d = &rgb_[((static_cast<size_t>(dy) + srcRow) * width_ + dx) * 3];
        size_t n = static_cast<size_t>(w) * 3;
        if (sameSurface) {
            rowBuffer.assign(s, s + n);
            s = rowBuffer.data();
        }
        if (op == BlitOp::Copy) {
            std::copy(s, s + n, d);
        } else {
            for (size_t i = 0; i < n; ++i)
                d[i] |= s[i];
        }
    }
}

void Surface::text(int x, int y, std::string_view s, Rgb fg, const Rgb* bg, Rect clip) {
    int cx0 = std::max(clip.x, 0), cy0 = std::max(clip.y, 0);
    int cx1 = std::min(clip.x + clip.w, width_), cy1 = std::min(clip.y + clip.h, height_);
    auto put = [&](int px, int py, Rgb c) {
        if (px >= cx0 && px < cx1 && py >= cy0 && py < cy1)
            setPixel(px, py, c);
    };
    for (size_t i = 0; i < s.size(); ++i) {
        int left = x + static_cast<int>(i) * font::cellWidth;
        if (left >= cx1)
            break;
        for (int row = 0; row < font::cellHeight; ++row)
            for (int col = 0; col < font::cellWidth; ++col) {
                if (font::dot(s[i], col, row))
                    put(left + col, y + row, fg);
                else if (bg)
                    put(left + col, y + row, *bg);
            }
    }
}

}  // namespace host
