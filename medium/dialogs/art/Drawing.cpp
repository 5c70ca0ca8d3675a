#include "Drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "window/Font.h"

namespace art {

namespace {

uint8_t channel(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
    return {channel(a.r + (b.r - a.r) * t), channel(a.g + (b.g - a.g) * t), channel(a.b + (b.b - a.b) * t)};
}

Rgb shade(Rgb c, double factor) {
    return {channel(c.r * factor), channel(c.g * factor), channel(c.b * factor)};
}

void fillPolygon(Surface& s, const std::vector<Point>& corners, Rgb c) {
    if (corners.size() < 3)
        return;
    for (int y = 0; y < s.height(); ++y) {
        const double cy = y + 0.5;
        std::vector<double> crossings;
        for (size_t i = 0; i < corners.size(); ++i) {
            const Point& a = corners[i];
            const Point& b = corners[(i + 1) % corners.size()];
            if ((a.y <= cy && b.y > cy) || (b.y <= cy && a.y > cy))
                crossings.push_back(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixels whose centres lie between the two crossings.
            int x0 = static_cast<int>(std::ceil(crossings[i] - 0.5));
            int x1 = static_cast<int>(std::floor(crossings[i + 1] - 0.5));
            for (int x = x0; x <= x1; ++x)
                s.setPixel(x, y, c);
        }
    }
}

void fillEllipse(Surface& s, double cx, double cy, double rx, double ry, Rgb c) {
    if (rx <= 0 || ry <= 0)
        return;
    for (int y = static_cast<int>(cy - ry) - 1; y <= static_cast<int>(cy + ry) + 1; ++y)
        for (int x = static_cast<int>(cx - rx) - 1; x <= static_cast<int>(cx + rx) + 1; ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0)
                s.setPixel(x, y, c);
        }
}

void line(Surface& s, int x0, int y0, int x1, int y1, Rgb c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        s.setPixel(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            return;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void verticalGradient(Surface& s, Rect r, Rgb top, Rgb bottom) {
    for (int y = 0; y < r.h; ++y)
        s.fill({r.x, r.y + y, r.w, 1}, mix(top, bottom, r.h > 1 ? double(y) / (r.h - 1) : 0.0));
}

void cylinder(Surface& s, Rect r, Rgb base) {
    for (int x = 0; x < r.w; ++x) {
        // Position across the body, -1 at the left edge to 1 at the right.
        const double u = r.w > 1 ? 2.0 * x / (r.w - 1) - 1.0 : 0.0;
        const double light = 1.05 - 0.45 * (u + 0.35) * (u + 0.35);
        s.fill({r.x + x, r.y, 1, r.h}, shade(base, std::max(0.45, light)));
    }
}

void stars(Surface& s, Rect r, int count, unsigned seed) {
    unsigned state = seed * 2654435761u + 1;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int i = 0; i < count; ++i) {
        int x = r.x + static_cast<int>(next() % static_cast<unsigned>(r.w));
        int y = r.y + static_cast<int>(next() % static_cast<unsigned>(r.h));
        uint8_t v = static_cast<uint8_t>(90 + next() % 120);
        s.setPixel(x, y, {v, v, static_cast<uint8_t>(std::min(255, v + 30))});
    }
}

void text(Surface& s, int x, int y, std::string_view str, Rgb c, int scale) {
    for (size_t i = 0; i < str.size(); ++i) {
        const int left = x + static_cast<int>(i) * host::font::cellWidth * scale;
        for (int row = 0; row < host::font::glyphHeight; ++row)
            for (int col = 0; col < host::font::glyphWidth; ++col)
                if (host::font::dot(str[i], col, row))
                    s.fill({left + col * scale, y + row * scale, scale, scale}, c);
    }
}

int textWidth(std::string_view str, int scale) {
    if (str.empty())
        return 0;
    return (static_cast<int>(str.size()) * host::font::cellWidth - (host::font::cellWidth - host::font::glyphWidth)) *
           scale;
}

void centredText(Surface& s, int cx, int y, std::string_view str, Rgb c, int scale) {
    text(s, cx - textWidth(str, scale) / 2, y, str, c, scale);
}

}  // namespace art
