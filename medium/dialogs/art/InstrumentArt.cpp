// The autopilot dialog's instruments. The module copies windows out of these
// images, so their geometry is fixed by how it draws them:
//  - heading strip: the window for heading h starts at x = 4h + 26 and is
//    96 wide, so h sits at the window's centre, x = 4h + 74 on the strip; the
//    module prints the heading over the window's top-left corner;
//  - pitch tape: the 180-row window for pitch p starts at row 180 - p and
//    the marker goes on its row 89, so p is at tape row 269 - p;
//  - thrust and fuel columns: 180 rows, full at the top, the same rows of
//    the image shown at the same rows of the gauge.
#include <algorithm>
#include <string>

#include "LauncherArt.h"

namespace art {

namespace {

constexpr Rgb black{0, 0, 0};
constexpr Rgb white{255, 255, 255};
constexpr Rgb yellow{255, 255, 0};

constexpr int stripWidth = 1650, stripHeight = 49;
constexpr int tapeWidth = 45, tapeHeight = 540, tapeZeroRow = 269;
constexpr int columnHeight = 180;

int stripX(int heading) {
    return 4 * heading + 74;
}

// What the heading strip prints at a multiple of ten degrees: the strip runs
// past both ends of the compass, so -10 reads 350 and 370 reads 10.
std::string compassLabel(int degrees) {
    return std::to_string(((degrees % 360) + 360) % 360);
}

// Pitch past the vertical reads back down (100 is 80 over the top).
int pitchLabel(int pitch) {
    if (pitch > 90)
        pitch = 180 - pitch;
    if (pitch < -90)
        pitch = -180 - pitch;
    return pitch < 0 ? -pitch : pitch;
}

}  // namespace

Surface headingStrip(bool onHeading) {
    Surface s(stripWidth, stripHeight, black);
    const Rgb ink = onHeading ? Rgb{60, 235, 80} : Rgb{255, 176, 32};
    const Rgb dim = shade(ink, 0.5);
    s.fill({0, stripHeight - 1, stripWidth, 1}, dim);  // the scale's base line
    // Ticks along the bottom: every degree, longer every 5, longest every 10
    // with its number in the middle band. Rows 0 to 9 stay dark for the
    // heading the module prints there.
    for (int d = -20; d <= 400; ++d) {
        const int x = stripX(d);
        if (d % 10 == 0) {
            s.fill({x, 33, 1, 15}, ink);
            centredText(s, x + 1, 13, compassLabel(d), ink, 2);
        } else if (d % 5 == 0) {
            s.fill({x, 39, 1, 9}, ink);
        } else {
            s.fill({x, 43, 1, 5}, dim);
        }
    }
    return s;
}

Surface headingOverlay() {
    Surface s(96, stripHeight, black);
    // A pointer just below the numbers and the lubber line through the ticks.
    for (int row = 0; row < 4; ++row)
        s.fill({48 - 3 + row, 29 + row, 7 - 2 * row, 1}, yellow);
    s.fill({48, 33, 1, stripHeight - 33}, white);
    return s;
}

Surface pitchTape() {
    Surface s(tapeWidth, tapeHeight);
    const Rgb highSky{16, 44, 118}, lowSky{78, 142, 222};
    const Rgb nearGround{132, 88, 44}, deepGround{62, 40, 18};
    verticalGradient(s, {0, 0, tapeWidth, tapeZeroRow}, highSky, lowSky);
    verticalGradient(s, {0, tapeZeroRow + 1, tapeWidth, tapeHeight - tapeZeroRow - 1}, nearGround, deepGround);
    s.fill({0, tapeZeroRow, tapeWidth, 1}, white);  // the horizon
    for (int p = 265; p >= -270; p -= 5) {
        const int row = tapeZeroRow - p;
        if (p % 10 == 0) {
            // Straight up and straight down have the longest marks.
            const int length = p == 90 || p == -90 ? 13 : 9;
            s.fill({0, row, length, 1}, white);
            s.fill({tapeWidth - length, row, length, 1}, white);
            if (p != 0)
                centredText(s, tapeWidth / 2, row - 3, std::to_string(pitchLabel(p)), white);
        } else {
            s.fill({0, row, 4, 1}, white);
            s.fill({tapeWidth - 4, row, 4, 1}, white);
        }
    }
    return s;
}

Surface pitchMarker() {
    // The module copies all three rows over the tape: a bar with a dark
    // shadow below, its top row on the pitch, and arrow heads at both ends.
    Surface s(tapeWidth, 3, black);
    const Rgb amber{255, 170, 0};
    s.fill({0, 0, tapeWidth, 1}, yellow);
    s.fill({0, 1, tapeWidth, 1}, amber);
    s.fill({0, 2, 4, 1}, amber);
    s.fill({tapeWidth - 4, 2, 4, 1}, amber);
    return s;
}

Surface thrustScale() {
    Surface s(tapeWidth, columnHeight, {22, 24, 32});
    // Light marks: ORed with the orange fill they turn nearly white, so the
    // scale stays readable over a full column.
    const Rgb mark{230, 230, 230}, minor{120, 124, 136};
    for (int percent = 0; percent <= 100; percent += 5) {
        const int row = std::min(columnHeight - 1, columnHeight - percent * columnHeight / 100);
        if (percent % 25 == 0) {
            s.fill({0, row, 7, 1}, mark);
            s.fill({tapeWidth - 7, row, 7, 1}, mark);
            // The number beside its mark, kept inside the column at both ends.
            const int top = percent == 100 ? 2 : percent == 0 ? columnHeight - 9 : row - 3;
            centredText(s, tapeWidth / 2, top, std::to_string(percent), mark);
        } else {
            s.fill({0, row, 3, 1}, minor);
            s.fill({tapeWidth - 3, row, 3, 1}, minor);
        }
    }
    return s;
}

Surface thrustFill() {
    Surface s(tapeWidth, columnHeight, black);
    const Rgb top{255, 150, 0}, bottom{210, 36, 0};
    // Segments of five rows, a dark row between them, leaving the scale's
    // edge marks clear.
    for (int row = 0; row < columnHeight; ++row)
        if (row % 6 != 5)
            s.fill({8, row, tapeWidth - 16, 1}, mix(top, bottom, double(row) / (columnHeight - 1)));
    return s;
}

namespace {

// A mark every tenth of the tank, a full-width one at half.
void fuelMarks(Surface& s, Rgb ink) {
    for (int tenth = 1; tenth < 10; ++tenth) {
        const int row = tenth * columnHeight / 10;
        if (tenth == 5)
            s.fill({0, row, s.width(), 1}, ink);
        else {
            s.fill({0, row, 6, 1}, ink);
            s.fill({s.width() - 6, row, 6, 1}, ink);
        }
    }
}

constexpr int fuelWidth = 21;

}  // namespace

Surface fuelColumn() {
    Surface s(fuelWidth, columnHeight, black);
    for (int row = 0; row < columnHeight; ++row)
        cylinder(s, {1, row, fuelWidth - 2, 1}, mix(Rgb{96, 240, 110}, Rgb{20, 150, 46}, double(row) / columnHeight));
    fuelMarks(s, black);
    return s;
}

Surface fuelColumnEmpty() {
    Surface s(fuelWidth, columnHeight, {22, 24, 32});
    fuelMarks(s, {120, 124, 136});
    return s;
}

Surface statusImage(std::string_view words, Rgb ink, Rgb paper) {
    Surface s(96, 19, paper);
    s.frame({0, 0, 96, 19}, mix(paper, ink, 0.6));
    centredText(s, 48, 6, words, ink);
    return s;
}

}  // namespace art
