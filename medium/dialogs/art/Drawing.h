// Drawing on pixel surfaces for the launcher's art: filled shapes, shaded
// cylinders, gradients and text in the host's 5 x 7 font at any whole scale.
#pragma once

#include <string_view>
#include <vector>

#include "window/Surface.h"

namespace art {

using host::Rect;
using host::Rgb;
using host::Surface;

struct Point {
    double x = 0, y = 0;
};

// Colour arithmetic: t = 0 gives a, t = 1 gives b; shade scales brightness.
Rgb mix(Rgb a, Rgb b, double t);
Rgb shade(Rgb c, double factor);

// Every pixel whose centre lies inside the polygon (even-odd rule).
void fillPolygon(Surface& s, const std::vector<Point>& corners, Rgb c);
void fillEllipse(Surface& s, double cx, double cy, double rx, double ry, Rgb c);
void line(Surface& s, int x0, int y0, int x1, int y1, Rgb c);
void verticalGradient(Surface& s, Rect r, Rgb top, Rgb bottom);

// A cylinder seen from the side: brightest left of centre, darker toward
// the edges, as lit from the upper left.
void cylinder(Surface& s, Rect r, Rgb base);

// A few faint stars, the same every run.
void stars(Surface& s, Rect r, int count, unsigned seed);

// Text in the built-in font, every glyph dot drawn as a scale x scale square.
void text(Surface& s, int x, int y, std::string_view str, Rgb c, int scale = 1);
// The width of the inked part of a text (no trailing gap).
int textWidth(std::string_view str, int scale = 1);
// Text centred on cx.
void centredText(Surface& s, int cx, int y, std::string_view str, Rgb c, int scale = 1);

}  // namespace art
