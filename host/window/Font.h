// The built-in bitmap font of the headless window system: 5 x 7 glyphs in
// 6 x 8 cells, printable ASCII. Characters without a glyph show as a box.
#pragma once

namespace host::font {

constexpr int cellWidth = 6;
constexpr int cellHeight = 8;
constexpr int glyphWidth = 5;
constexpr int glyphHeight = 7;

// True when the pixel (col, row) of the character's glyph is set.
bool dot(char c, int col, int row);

}  // namespace host::font
