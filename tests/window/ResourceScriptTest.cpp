// Resource scripts: what a good one gives, and that every mistake in one is
// reported with its file and line.
#include <gtest/gtest.h>

#include "sim/Simulation.h"
#include "window/ResourceScript.h"

using namespace host;

TEST(ResourceScript, ReadsDialogsControlsAndBitmaps) {
    const char* text =
        "# a comment\n"
        "dialog 131 \"Tarvik Autopilot\" 360 420\n"
        "  edit 1049 \"\" 10 20 60 14\n"
        "  static -1 \"say \\\"hi\\\"  # not a comment\" 0 0 5 5   # a comment\n"
        "  radio 1085 \"Ascending node\" 10 40 90 12 group checked\n"
        "  edit 1041 \"\" 0 0 10 10 hidden disabled\n"
        "  static -1 \"again\" 0 0 5 5\n"
        "  edit 1036 \"\" 0 20 10 10 readonly\n"
        "end\n"
        "\n"
        "bitmap 191 strips/heading.bmp\n";
    ResourceScript s = parseResourceScript(text, "/mods/TarvikM52.rc.txt");

    ASSERT_EQ(s.dialogs.size(), 1u);
    const DialogTemplate* d = s.dialog(131);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->caption, "Tarvik Autopilot");
    EXPECT_EQ(d->width, 360);
    ASSERT_EQ(d->controls.size(), 6u);
    EXPECT_EQ(d->controls[0].kind, ControlKind::Edit);
    EXPECT_EQ(d->controls[0].rect.y, 20);
    EXPECT_EQ(d->controls[1].caption, "say \"hi\"  # not a comment");
    EXPECT_TRUE(d->controls[2].groupStart);
    EXPECT_TRUE(d->controls[2].checked);
    EXPECT_TRUE(d->controls[3].hidden);
    EXPECT_TRUE(d->controls[3].disabled);
    EXPECT_FALSE(d->controls[0].hidden);
    EXPECT_TRUE(d->controls[5].readOnly);
    EXPECT_FALSE(d->controls[0].readOnly);
    EXPECT_EQ(s.bitmaps.at(191), "/mods/strips/heading.bmp");
    EXPECT_EQ(s.dialog(101), nullptr);
}

TEST(ResourceScript, MistakesNameTheLine) {
    struct Case {
        const char* text;
        int line;
        const char* problem;
    };
    const Case cases[] = {
        {"dialog 1 \"x\" 10 10\n  knob 2 \"\" 0 0 1 1\nend\n", 2, "unknown keyword 'knob'"},
        {"dialog 1 \"x\" 10 10\n  edit 2 \"\" 0 zero 1 1\nend\n", 2, "bad y 'zero'"},
        {"\n\ndialog 1 \"x\" 10 10\n  edit 2 \"\" 0 0 1 1\n", 3, "has no 'end'"},
        {"dialog 1 \"x\" 10 10\n  edit 2 \"\" 0 0 1 1\n  button 2 \"\" 0 0 1 1\nend\n", 3, "appears twice"},
        {"edit 2 \"\" 0 0 1 1\n", 1, "outside a dialog"},
        {"dialog 1 \"x 10 10\nend\n", 1, "unterminated caption"},
        {"dialog 1 \"x\" 10 10\n  edit 2 \"\" 0 0 1 1 shiny\nend\n", 2, "unknown flag 'shiny'"},
        {"dialog 1 \"x\" 10 10\n  button 2 \"\" 0 0 1 1 readonly\nend\n", 2, "only an edit can be readonly"},
        {"dialog 1 \"x\" 10 10\nend\ndialog 1 \"y\" 10 10\nend\n", 3, "defined twice"},
        {"dialog 1 x 10 10\nend\n", 1, "expected: dialog ID"},
        {"bitmap 5\n", 1, "expected: bitmap ID FILE"},
        {"end\n", 1, "without a dialog"},
    };
    for (const Case& c : cases) {
        try {
            parseResourceScript(c.text, "mod.rc.txt");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const InputError& e) {
            EXPECT_EQ(e.file, "mod.rc.txt") << c.text;
            EXPECT_EQ(e.line, c.line) << c.text;
            EXPECT_NE(std::string(e.what()).find(c.problem), std::string::npos) << e.what();
        }
    }
}

TEST(ResourceScript, MissingFileIsAnError) {
    try {
        readResourceScript("/nonexistent/Nothing.rc.txt");
        FAIL() << "no error";
    } catch (const InputError& e) {
        EXPECT_EQ(e.file, "/nonexistent/Nothing.rc.txt");
    }
}
