// Session scripts: every command of the grammar, comments and free text, and
// mistakes reported with their line.
#include <gtest/gtest.h>

#include "Script.h"
#include "sim/Simulation.h"

using namespace tarviksim;

TEST(Script, ReadsEveryCommand) {
    const char* text =
        "# a session\n"
        "\n"
        "at 0 key m\n"
        "at 0.5 key F1   # the preview off\n"
        "at 1 throttle 0.75\n"
        "at 2 click 101 1015\n"
        "at 2 type 131 1079   Tarvik#2  orbit  # comment\n"
        "at 2 type 131 1049\n"
        "at 3 check 131 1085\n"
        "at 3 select 131 1083 ISS Zarya\n"
        "at 4 warp 10\n"
        "at 5 focus LC37B\n"
        "at 6 save mid.scn\n"
        "at 6 snapshot 131 pad.png\n"
        "at 7 waitfor 3000   Autopilot Complete   # then stop\n"
        "at 7 stop\n";
    Script s = parseScript(text, "s.txt");
    ASSERT_EQ(s.commands.size(), 14u);
    const auto& c = s.commands;
    EXPECT_EQ(c[0].kind, CommandKind::Key);
    EXPECT_EQ(c[0].key, (DWORD)OAPI_KEY_M);
    EXPECT_EQ(c[0].line, 3);
    EXPECT_EQ(c[1].key, (DWORD)OAPI_KEY_F1);
    EXPECT_DOUBLE_EQ(c[1].time, 0.5);
    EXPECT_DOUBLE_EQ(c[2].value, 0.75);
    EXPECT_EQ(c[3].kind, CommandKind::Click);
    EXPECT_EQ(c[3].dialog, 101);
    EXPECT_EQ(c[3].control, 1015);
    EXPECT_EQ(c[4].text, "Tarvik#2  orbit");  // '#' opens a comment only after a blank
    EXPECT_EQ(c[5].kind, CommandKind::Type);
    EXPECT_EQ(c[5].text, "");  // typing nothing clears the field
    EXPECT_EQ(c[7].text, "ISS Zarya");
    EXPECT_DOUBLE_EQ(c[8].value, 10);
    EXPECT_EQ(c[9].text, "LC37B");
    EXPECT_EQ(c[10].kind, CommandKind::Save);
    EXPECT_EQ(c[11].dialog, 131);
    EXPECT_EQ(c[11].text, "pad.png");
    EXPECT_EQ(c[12].kind, CommandKind::WaitFor);
    EXPECT_DOUBLE_EQ(c[12].value, 3000);
    EXPECT_EQ(c[12].text, "Autopilot Complete");
    EXPECT_EQ(c[13].kind, CommandKind::Stop);
    EXPECT_EQ(c[13].line, 16);
}

TEST(Script, MistakesNameTheLine) {
    struct Case {
        const char* line;
        const char* problem;
    };
    const Case cases[] = {
        {"key A", "expected 'at SECONDS COMMAND"},
        {"at soon key A", "bad time 'soon'"},
        {"at -1 key A", "before the scenario start"},
        {"at 1 fly", "unknown command 'fly'"},
        {"at 1 key F13", "unknown key 'F13'"},
        {"at 1 key", "expected 'key NAME'"},
        {"at 1 key A B", "expected 'key NAME'"},
        {"at 1 throttle full", "bad throttle level 'full'"},
        {"at 1 throttle 1.5", "not between 0 and 1"},
        {"at 1 warp 0", "warp factor 0"},
        {"at 1 click 101", "expected 'click DIALOG CONTROL'"},
        {"at 1 click 101 x12", "bad control id 'x12'"},
        {"at 1 select 131 1083", "expected 'select DIALOG CONTROL TEXT'"},
        {"at 1 snapshot 131", "expected 'snapshot DIALOG FILE.png'"},
        {"at 1 stop now", "expected 'stop'"},
        {"at nan stop", "bad time 'nan'"},
        {"at 1 waitfor 60   # nothing to wait for", "expected 'waitfor TIMEOUT TEXT'"},
        {"at 1 waitfor soon Autopilot Complete", "bad timeout 'soon'"},
        {"at 1 waitfor 0 Autopilot Complete", "timeout 0 is not above 0 and at most 86400 s"},
        {"at 1 waitfor 86401 Autopilot Complete", "timeout 86401 is not above 0"},
    };
    for (const Case& c : cases) {
        std::string text = std::string("# header\n\n") + c.line + "\n";
        try {
            parseScript(text, "s.txt");
            ADD_FAILURE() << "accepted: " << c.line;
        } catch (const host::InputError& e) {
            EXPECT_EQ(e.line, 3) << c.line;
            EXPECT_EQ(e.file, "s.txt");
            EXPECT_NE(std::string(e.what()).find(c.problem), std::string::npos) << c.line << " -> " << e.what();
        }
    }
}
