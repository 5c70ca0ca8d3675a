// The configuration dialog's pictures: each launcher standing on its pad at
// night, each payload against space, and the stand-in for a custom payload.
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "LauncherArt.h"

namespace art {

namespace {

constexpr Rgb hull{236, 236, 240};     // white-painted stages and fairings
constexpr Rgb booster{222, 222, 228};  // solid boosters, a shade off the core
constexpr Rgb steel{90, 92, 100};      // engine bells, bands
constexpr Rgb caption{196, 206, 228};  // the names under the pictures
constexpr Rgb foil{214, 170, 60};      // satellite bodies in gold insulation
constexpr Rgb cells{36, 70, 150};      // solar panels
constexpr Rgb cellLines{120, 150, 210};

// A body of revolution seen from the side, standing on its axis cx from row
// top to row bottom (exclusive); halfWidth gives its half width at t, 0 at
// the top row and 1 at the bottom one. Shaded as lit from the upper left.
void body(Surface& s, double cx, int top, int bottom, const std::function<double(double)>& halfWidth, Rgb base) {
    for (int y = top; y < bottom; ++y) {
        const double t = bottom - top > 1 ? double(y - top) / (bottom - top - 1) : 0.0;
        const double w = halfWidth(t);
        for (int x = static_cast<int>(std::floor(cx - w)); x <= static_cast<int>(std::ceil(cx + w)); ++x) {
            const double u = (x + 0.5 - cx) / std::max(w, 0.5);
            if (std::abs(u) > 1.0)
                continue;
            s.setPixel(x, y, shade(base, std::max(0.45, 1.05 - 0.45 * (u + 0.35) * (u + 0.35))));
        }
    }
}

auto constant(double w) {
    return [w](double) { return w; };
}
auto taper(double from, double to) {
    return [from, to](double t) { return from + (to - from) * t; };
}
// An ogive nose: round at the tip, meeting the cylinder without a kink.
auto ogive(double w) {
    return [w](double t) { return w * std::sqrt(1.0 - (1.0 - t) * (1.0 - t)); };
}

// ------------------------------------------------------------ launchers

constexpr int launcherWidth = 49, launcherHeight = 168;
constexpr int padTop = 154;     // the rockets stand on the pad deck here
constexpr int engineTop = 146;  // core and booster bodies end, bells begin

void engineBell(Surface& s, double cx, double halfWidth) {
    body(s, cx, engineTop, padTop, taper(halfWidth * 0.55, halfWidth), steel);
}

// The core stage with its upper stage and payload fairing on top.
void mediumCore(Surface& s, double cx, double fairingHalfWidth) {
    const double core = 5.0;
    const bool wide = fairingHalfWidth > 7.0;
    const int noseTop = wide ? 4 : 7, cylinderTop = wide ? 24 : 25, fairingEnd = wide ? 48 : 45;
    body(s, cx, noseTop, cylinderTop, ogive(fairingHalfWidth), hull);
    body(s, cx, cylinderTop, fairingEnd, constant(fairingHalfWidth), hull);
    body(s, cx, fairingEnd, fairingEnd + 4, taper(fairingHalfWidth, core), shade(hull, 0.85));
    body(s, cx, fairingEnd + 4, 64, constant(core), shade(hull, 0.9));  // upper stage
    body(s, cx, 62, 65, constant(core), steel);                         // interstage band
    body(s, cx, 65, engineTop, constant(core), hull);
    body(s, cx, 100, 102, constant(core), shade(hull, 0.7));
    engineBell(s, cx, 4.0);
}

void strapOn(Surface& s, double cx, int top, double halfWidth, double light) {
    const Rgb c = shade(booster, light);
    body(s, cx, top, top + 8, taper(0.6, halfWidth), c);
    body(s, cx, top + 8, engineTop, constant(halfWidth), c);
    body(s, cx, engineTop, engineTop + 5, taper(halfWidth * 0.5, halfWidth * 0.8), steel);
}

// A common core of the heavy launcher beside the centre one: a nose cone
// of its own instead of an upper stage.
void sideCore(Surface& s, double cx) {
    body(s, cx, 52, 62, ogive(4.5), hull);
    body(s, cx, 62, engineTop, constant(4.5), hull);
    body(s, cx, 100, 102, constant(4.5), shade(hull, 0.7));
    engineBell(s, cx, 3.5);
}

std::string launcherName(Launcher l) {
    switch (l) {
        case Launcher::M4:
            return "M 4";
        case Launcher::M42:
            return "M 4,2";
        case Launcher::M52:
            return "M 5,2";
        case Launcher::M54:
            return "M 5,4";
        case Launcher::Heavy:
            return "HEAVY";
        case Launcher::HeavyPlus:
            return "HEAVY+";
    }
    return "";
}

// ------------------------------------------------------------ payloads

constexpr int payloadSide = 64;
constexpr int labelTop = 55;

Surface spaceBackground(unsigned seed) {
    Surface s(payloadSide, payloadSide);
    verticalGradient(s, {0, 0, payloadSide, payloadSide}, {4, 6, 20}, {16, 22, 48});
    stars(s, {0, 0, payloadSide, labelTop - 2}, 14, seed);
    return s;
}

// A solar panel wing: cells in a grid with lighter seams.
void panel(Surface& s, Rect r, int columns, int rows) {
    s.fill(r, cells);
    s.frame(r, cellLines);
    for (int i = 1; i < columns; ++i)
        s.fill({r.x + i * r.w / columns, r.y, 1, r.h}, cellLines);
    for (int j = 1; j < rows; ++j)
        s.fill({r.x, r.y + j * r.h / rows, r.w, 1}, cellLines);
}

// A dish antenna seen edge-on from above: a shallow bowl with its feed.
void dish(Surface& s, double cx, double y, double radius) {
    fillEllipse(s, cx, y, radius, radius * 0.45, {230, 230, 236});
    fillEllipse(s, cx, y - radius * 0.15, radius * 0.8, radius * 0.3, {160, 162, 172});
    line(s, static_cast<int>(cx), static_cast<int>(y), static_cast<int>(cx), static_cast<int>(y - radius),
         {200, 200, 210});
}

// A satellite box with gold foil: darker edges and a seam or two.
void satelliteBody(Surface& s, Rect r) {
    s.fill(r, foil);
    s.fill({r.x + r.w - 2, r.y, 2, r.h}, shade(foil, 0.7));
    s.fill({r.x, r.y + r.h - 2, r.w, 2}, shade(foil, 0.75));
    s.fill({r.x, r.y + r.h / 2, r.w, 1}, shade(foil, 0.8));
    s.frame(r, shade(foil, 0.55));
}

void carina(Surface& s) {
    // A small re-entry capsule on its service module, with two short wings.
    panel(s, {3, 34, 17, 9}, 3, 1);
    panel(s, {44, 34, 17, 9}, 3, 1);
    s.fill({20, 38, 4, 1}, steel);
    s.fill({40, 38, 4, 1}, steel);
    body(s, 32, 31, 47, constant(10), {200, 200, 206});  // service module
    body(s, 32, 46, 50, taper(7, 5), steel);             // main engine
    body(s, 32, 8, 28, taper(4, 12), {226, 226, 232});   // capsule cone
    body(s, 32, 28, 31, constant(12), {120, 84, 52});    // heat shield
    s.fill({29, 14, 2, 3}, {40, 60, 110});               // window
    s.fill({33, 14, 2, 3}, {40, 60, 110});
    body(s, 32, 5, 8, constant(2), steel);  // docking probe
}

void deltaGlider(Surface& s) {
    // The spaceplane from above, nose up: a long fuselage on a broad delta
    // wing with a fin at each wing tip.
    const Rgb skin{210, 212, 220}, edge{120, 124, 136};
    fillPolygon(s, {{32, 12}, {60, 44}, {60, 49}, {4, 49}, {4, 44}}, edge);
    fillPolygon(s, {{32, 14}, {58, 44}, {58, 47}, {6, 47}, {6, 44}}, skin);
    fillEllipse(s, 32, 28, 6, 24, skin);
    fillEllipse(s, 32, 28, 6, 24, skin);
    s.fill({26, 44, 13, 7}, skin);
    fillEllipse(s, 32, 15, 3, 6, {36, 60, 120});  // canopy
    s.fill({4, 38, 3, 12}, edge);                 // wing-tip fins
    s.fill({57, 38, 3, 12}, edge);
    s.fill({28, 50, 3, 3}, steel);  // main engines
    s.fill({33, 50, 3, 3}, steel);
    line(s, 32, 24, 32, 46, shade(skin, 0.8));
}

void ldef(Surface& s) {
    // The long twelve-sided cylinder lying on its side: six faces in view,
    // each lit by its angle, trays in six bays along it, and the flat
    // twelve-sided end toward the viewer's right.
    const int x0 = 4, x1 = 54, cy = 27;
    const double r = 12;
    const Rgb tray{214, 214, 218}, goldTray{206, 172, 92}, blueTray{130, 144, 180};
    const int bays = 6;
    for (int facet = 0; facet < 6; ++facet) {
        const double a0 = facet * std::numbers::pi / 6, a1 = (facet + 1) * std::numbers::pi / 6;
        const int y0 = static_cast<int>(std::lround(cy - r * std::cos(a0)));
        const int y1 = static_cast<int>(std::lround(cy - r * std::cos(a1)));
        const double light = 0.5 + 0.6 * std::max(0.0, std::cos((a0 + a1) / 2 - 1.0));
        for (int bay = 0; bay < bays; ++bay) {
            const int bx0 = x0 + bay * (x1 - x0) / bays, bx1 = x0 + (bay + 1) * (x1 - x0) / bays;
            const int pick = (facet * 5 + bay * 3) % 7;
            const Rgb c = pick == 0 ? goldTray : pick == 3 ? blueTray : tray;
            s.fill({bx0, y0, bx1 - bx0, y1 - y0}, shade(c, light));
        }
        s.fill({x0, y0, x1 - x0, 1}, shade({70, 72, 80}, light));  // the longeron between faces
    }
    for (int bay = 0; bay <= bays; ++bay)
        s.fill({x0 + bay * (x1 - x0) / bays, cy - 12, 1, 24}, {70, 72, 80});
    std::vector<Point> end;
    for (int i = 0; i < 12; ++i) {
        const double a = i * std::numbers::pi / 6;
        end.push_back({x1 + 5.0 * std::sin(a), cy - r * std::cos(a)});
    }
    fillPolygon(s, end, {150, 152, 162});
    fillPolygon(s, {{x1 + 1.0, cy - 4.0}, {x1 + 3.0, cy - 4.0}, {x1 + 3.0, cy + 4.0}, {x1 + 1.0, cy + 4.0}},
                {110, 112, 122});
}

void shuttlePB(Surface& s) {
    // A small shuttle from the side, nose right: white above, black tiles
    // below, the tail fin up and the wing root below the body.
    const Rgb skin{232, 232, 236}, tiles{34, 34, 40};
    fillPolygon(s, {{8, 10}, {17, 10}, {26, 27}, {10, 27}}, shade(skin, 0.85));  // fin
    fillPolygon(s, {{16, 36}, {44, 36}, {30, 44}, {14, 44}}, tiles);             // wing
    s.fill({8, 25, 42, 12}, skin);
    fillEllipse(s, 50, 31, 10, 6, skin);
    s.fill({8, 33, 42, 4}, tiles);
    fillPolygon(s, {{50, 33}, {60, 31}, {58, 35}, {50, 37}}, tiles);
    s.fill({48, 27, 3, 2}, {30, 50, 100});  // cockpit windows
    s.fill({52, 27, 3, 2}, {30, 50, 100});
    s.fill({4, 26, 4, 9}, steel);  // engines
    s.fill({20, 28, 24, 1}, shade(skin, 0.75));
}

void mmu(Surface& s) {
    // The manned manoeuvring unit from the front: the backpack with its two
    // arms reaching forward to the hand controllers, thruster blocks at the
    // corners.
    const Rgb white{232, 232, 236}, grey{170, 172, 180};
    s.fill({20, 8, 24, 40}, white);
    s.frame({20, 8, 24, 40}, grey);
    s.fill({24, 14, 16, 12}, grey);  // the seat back
    s.fill({28, 30, 8, 10}, {196, 198, 204});
    for (int side : {0, 1}) {
        const int x = side ? 46 : 10;
        s.fill({x, 28, 8, 16}, white);
        s.frame({x, 28, 8, 16}, grey);
        s.fill({x + 2, 22, 4, 7}, {60, 62, 70});  // hand controller
        s.fill({x + 1, 20, 6, 3}, {200, 60, 40});
    }
    for (int x : {16, 44})
        for (int y : {6, 44})
            s.fill({x, y, 4, 4}, {60, 62, 70});  // thruster blocks
}

void mplm(Surface& s) {
    // The logistics module lying on its side: a fat cylinder with ribs, the
    // berthing ring at its left end and a domed right end.
    const Rgb skin{226, 224, 214};
    for (int y = 14; y < 42; ++y) {
        const double u = (y + 0.5 - 28) / 14.0;
        s.fill({12, y, 38, 1}, shade(skin, std::max(0.45, 1.05 - 0.45 * (u + 0.35) * (u + 0.35))));
    }
    fillEllipse(s, 50, 28, 7, 14, shade(skin, 0.8));
    fillPolygon(s, {{12, 14}, {12, 42}, {6, 37}, {6, 19}}, shade(skin, 0.7));  // cone to the ring
    s.fill({3, 19, 3, 18}, {110, 112, 120});                                   // berthing ring
    for (int x : {20, 28, 36, 44})
        s.fill({x, 14, 1, 28}, shade(skin, 0.6));
    s.fill({30, 16, 4, 4}, steel);  // grapple fixture
}

void sat1(Surface& s) {
    // A medium box with a long wing each side and a dish on top.
    panel(s, {2, 26, 20, 10}, 4, 2);
    panel(s, {42, 26, 20, 10}, 4, 2);
    s.fill({22, 30, 2, 2}, steel);
    s.fill({40, 30, 2, 2}, steel);
    satelliteBody(s, {24, 20, 16, 22});
    dish(s, 32, 16, 7);
}

void sat2(Surface& s) {
    // The big one: a tall body, two-panel wings and two dishes.
    panel(s, {1, 22, 12, 14}, 2, 2);
    panel(s, {13, 22, 8, 14}, 1, 2);
    panel(s, {43, 22, 8, 14}, 1, 2);
    panel(s, {51, 22, 12, 14}, 2, 2);
    satelliteBody(s, {21, 12, 22, 38});
    dish(s, 26, 10, 5);
    dish(s, 38, 10, 5);
    s.fill({29, 50, 6, 3}, steel);
}

void sat3(Surface& s) {
    // The small one: a short cylinder with stubby wings and an aerial mast.
    panel(s, {8, 30, 16, 8}, 3, 1);
    panel(s, {40, 30, 16, 8}, 3, 1);
    body(s, 32, 24, 44, constant(8), foil);
    body(s, 32, 22, 24, constant(6), shade(foil, 0.7));
    line(s, 32, 10, 32, 22, {200, 200, 210});
    fillEllipse(s, 32, 10, 3, 1.5, {230, 230, 236});
}

}  // namespace

Surface launcherPicture(Launcher l) {
    Surface s(launcherWidth, launcherHeight);
    verticalGradient(s, {0, 0, launcherWidth, padTop}, {4, 8, 26}, {30, 42, 84});
    stars(s, {0, 0, launcherWidth, 90}, 12, static_cast<unsigned>(l) + 1);
    s.fill({0, padTop, launcherWidth, 4}, {70, 70, 76});  // the pad deck
    s.fill({0, padTop + 4, launcherWidth, launcherHeight - padTop - 4}, {14, 14, 18});

    const double cx = launcherWidth / 2.0;
    switch (l) {
        case Launcher::M4:
            mediumCore(s, cx, 6.5);
            break;
        case Launcher::M42:
            strapOn(s, cx - 8, 96, 2.5, 1.0);
            strapOn(s, cx + 8, 96, 2.5, 1.0);
            mediumCore(s, cx, 6.5);
            break;
        case Launcher::M52:
            strapOn(s, cx - 8, 96, 2.5, 1.0);
            strapOn(s, cx + 8, 96, 2.5, 1.0);
            mediumCore(s, cx, 8.5);
            break;
        case Launcher::M54:
            // Four boosters: the outer pair a little lower and in shadow.
            strapOn(s, cx - 13, 104, 2.5, 0.8);
            strapOn(s, cx + 13, 104, 2.5, 0.8);
            strapOn(s, cx - 8, 96, 2.5, 1.0);
            strapOn(s, cx + 8, 96, 2.5, 1.0);
            mediumCore(s, cx, 8.5);
            break;
        case Launcher::Heavy:
        case Launcher::HeavyPlus:
            if (l == Launcher::HeavyPlus) {
                // Three boosters on the outside of each side core, fanned out:
                // the farther ones lower and in shadow, drawn first.
                for (int i = 2; i >= 0; --i) {
                    const double offset = 17.5 + 2.5 * i;
                    strapOn(s, cx - offset, 100 + 7 * i, 1.8, 1.0 - 0.14 * i);
                    strapOn(s, cx + offset, 100 + 7 * i, 1.8, 1.0 - 0.14 * i);
                }
            }
            sideCore(s, cx - 11);
            sideCore(s, cx + 11);
            mediumCore(s, cx, 8.5);
            break;
    }
    centredText(s, launcherWidth / 2, padTop + 6, launcherName(l), caption);
    return s;
}

Surface payloadPicture(Payload p) {
    Surface s = spaceBackground(static_cast<unsigned>(p) + 11);
    const char* name = "";
    switch (p) {
        case Payload::Carina:
            carina(s);
            name = "CARINA";
            break;
        case Payload::DeltaGlider:
            deltaGlider(s);
            name = "D.GLIDER";
            break;
        case Payload::Ldef:
            ldef(s);
            name = "LDEF";
            break;
        case Payload::ShuttlePB:
            shuttlePB(s);
            name = "SHUTTLEPB";
            break;
        case Payload::Mmu:
            mmu(s);
            name = "MMU";
            break;
        case Payload::Mplm:
            mplm(s);
            name = "MPLM";
            break;
        case Payload::Sat1:
            sat1(s);
            name = "SAT1";
            break;
        case Payload::Sat2:
            sat2(s);
            name = "SAT2";
            break;
        case Payload::Sat3:
            sat3(s);
            name = "SAT3";
            break;
    }
    centredText(s, payloadSide / 2, labelTop + 1, name, caption);
    return s;
}

Surface customPlaceholder(int slot) {
    Surface s(payloadSide, payloadSide, {34, 38, 48});
    const Rgb ink{200, 206, 220};
    s.frame({0, 0, payloadSide, payloadSide}, ink);
    // A dashed inner frame: the picture still to be supplied.
    for (int i = 4; i < payloadSide - 4; i += 4) {
        s.fill({i, 3, 2, 1}, shade(ink, 0.6));
        s.fill({i, payloadSide - 4, 2, 1}, shade(ink, 0.6));
        s.fill({3, i, 1, 2}, shade(ink, 0.6));
        s.fill({payloadSide - 4, i, 1, 2}, shade(ink, 0.6));
    }
    centredText(s, payloadSide / 2, 8, "CUSTOM", ink);
    centredText(s, payloadSide / 2, 19, std::to_string(slot), {255, 255, 255}, 4);
    centredText(s, payloadSide / 2, 50, "PAYLOAD", ink);
    return s;
}

}  // namespace art
