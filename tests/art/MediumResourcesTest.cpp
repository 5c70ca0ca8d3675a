// The Medium launcher's resources in the Modules folder: every dialog holds
// the controls the module addresses, laid out without overlaps, and every
// bitmap has the size and geometry the module draws it with.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <utility>

#include "window/Bmp.h"
#include "window/ResourceScript.h"

using namespace host;

namespace {

ResourceScript script(const std::string& build = "TarvikM52") {
    return readResourceScript(std::string(TARVIK_MODULE_DIR) + "/" + build + ".rc.txt");
}

const ControlTemplate* control(const DialogTemplate& d, int id) {
    for (const ControlTemplate& c : d.controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

bool overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

Surface bitmap(const ResourceScript& s, int id) {
    std::string problem;
    std::optional<Surface> image = readBmp(s.bitmaps.at(id), &problem);
    if (!image)
        ADD_FAILURE() << "bitmap " << id << ": " << problem;
    return image ? *image : Surface();
}

}  // namespace

TEST(MediumResources, DialogsHoldWhatTheModuleAddresses) {
    for (const char* build : {"TarvikM4", "TarvikM42", "TarvikM52", "TarvikM54"}) {
        ResourceScript s = script(build);
        for (int id : {101, 131, 258, 287})
            EXPECT_NE(s.dialog(id), nullptr) << build << " dialog " << id;
    }
    ResourceScript s = script();
    const DialogTemplate& autopilot = *s.dialog(131);
    // Pictures at the sizes the module draws into them.
    const std::map<int, std::pair<int, int>> pictures = {{1065, {96, 49}}, {1129, {114, 180}}, {1124, {96, 19}},
                                                         {1125, {96, 19}}, {1126, {96, 19}},   {1106, {96, 19}},
                                                         {1073, {111, 22}}};
    for (const auto& [id, size] : pictures) {
        const ControlTemplate* c = control(autopilot, id);
        ASSERT_NE(c, nullptr) << id;
        EXPECT_EQ(c->kind, ControlKind::Picture) << id;
        EXPECT_EQ(std::make_pair(c->rect.w, c->rect.h), size) << id;
    }
    // Read-outs take no typing; the inputs do.
    for (int id : {1036, 1042, 1043, 1046, 1045, 1080, 1068})
        EXPECT_TRUE(control(autopilot, id) && control(autopilot, id)->readOnly) << id;
    for (int id : {1049, 1079, 1100})
        EXPECT_TRUE(control(autopilot, id) && !control(autopilot, id)->readOnly) << id;
    EXPECT_TRUE(control(autopilot, 1041)->hidden);
    const DialogTemplate& config = *s.dialog(101);
    EXPECT_EQ(control(config, 1026)->rect.w, 49);
    EXPECT_EQ(control(config, 1026)->rect.h, 168);
    EXPECT_EQ(control(config, 1029)->rect.w, 64);
    EXPECT_EQ(control(config, 1029)->rect.h, 64);

    // Every shown control lies inside its dialog and clear of the others.
    for (const DialogTemplate& d : s.dialogs)
        for (size_t i = 0; i < d.controls.size(); ++i) {
            const ControlTemplate& a = d.controls[i];
            if (a.hidden)
                continue;
            EXPECT_LE(a.rect.x + a.rect.w, d.width) << d.id << "/" << a.id << " " << a.caption;
            EXPECT_LE(a.rect.y + a.rect.h, d.height) << d.id << "/" << a.id << " " << a.caption;
            for (size_t j = i + 1; j < d.controls.size(); ++j) {
                const ControlTemplate& b = d.controls[j];
                if (!b.hidden) {
                    EXPECT_FALSE(overlap(a.rect, b.rect)) << d.id << ": " << a.id << " \"" << a.caption << "\" and "
                                                          << b.id << " \"" << b.caption << "\"";
                }
            }
        }
}

TEST(MediumResources, BitmapsHaveTheirSizes) {
    ResourceScript s = script();
    std::map<int, std::pair<int, int>> sizes = {{191, {1650, 49}}, {275, {1650, 49}}, {194, {96, 49}},
                                                {283, {45, 540}},  {277, {45, 3}},    {193, {45, 180}},
                                                {196, {45, 180}},  {269, {21, 180}},
                                                {270, {21, 180}}};
    for (int id : {260, 262, 263, 264, 265, 266, 267})
        sizes[id] = {96, 19};
    for (int id : {107, 108, 110, 111, 112, 120})
        sizes[id] = {49, 168};
    for (int id = 122; id <= 130; ++id)
        sizes[id] = {64, 64};
    EXPECT_EQ(s.bitmaps.size(), sizes.size());
    for (const auto& [id, size] : sizes) {
        ASSERT_TRUE(s.bitmaps.count(id)) << id;
        Surface b = bitmap(s, id);
        EXPECT_EQ(std::make_pair(b.width(), b.height()), size) << id;
    }
}

TEST(MediumResources, InstrumentsLineUpWithTheirWindows) {
    ResourceScript s = script();
    constexpr Rgb black{};
    const Surface overlay = bitmap(s, 194);
    for (int y = 0; y < overlay.height(); ++y)
        for (int x = 0; x < overlay.width(); ++x)
            if (x < 45 || x > 51) {
                ASSERT_EQ(overlay.pixel(x, y), black) << "the overlay is ORed: only its pointer may show";
            }
    for (int id : {191, 275}) {
        const Surface strip = bitmap(s, id);
        for (double heading : {0.0, 90.0, 359.0}) {
            const int start = static_cast<int>(heading * 4 + 26);
            // The heading's own degree tick under the window's centre, dark beside it.
            const int centre = start + 48, tickRow = 45;
            EXPECT_NE(strip.pixel(centre, tickRow), black) << id << " at " << heading;
            EXPECT_EQ(strip.pixel(centre - 2, tickRow), black) << id << " at " << heading;
            EXPECT_EQ(strip.pixel(centre + 2, tickRow), black) << id << " at " << heading;
            // The corner where the module prints the heading stays clear.
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < 40; ++x)
                    ASSERT_EQ(strip.pixel(start + x, y), black) << id << " at " << heading;
        }
    }
    // Pitch p is at tape row 269 - p: sky above the horizon, ground below.
    const Surface tape = bitmap(s, 283);
    const Rgb sky = tape.pixel(22, 268), horizon = tape.pixel(22, 269), ground = tape.pixel(22, 270);
    EXPECT_GT(sky.b, sky.r);
    EXPECT_GT(ground.r, ground.b);
    EXPECT_NE(horizon, sky);
    EXPECT_NE(horizon, ground);
}
