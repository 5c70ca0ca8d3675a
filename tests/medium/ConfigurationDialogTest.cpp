// The configuration dialog as a pilot uses it on LC37B: the launcher types
// with their names, the payloads and the ones too large for a launcher, the
// custom payloads, the placement preview, and the pad's part in it.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "MediumTestSupport.h"
#include "window/Bmp.h"
#include "window/Dialogs.h"
#include "window/ResourceScript.h"

namespace medium_test {
namespace {

constexpr int kConfig = 101, kCustom = 287, kOffset = 258;

// Whether a static text of this size shows the whole text: 6 x 8 pixel
// characters, lines broken at blanks.
bool fitsIn(const std::string& text, const host::Rect& r) {
    const size_t columns = static_cast<size_t>(r.w / 6), lines = static_cast<size_t>(r.h / 8);
    std::istringstream words(text);
    size_t used = 0, line = 1;
    for (std::string w; words >> w;) {
        if (w.size() > columns)
            return false;
        if (used > 0 && used + 1 + w.size() > columns)
            ++line, used = 0;
        used += (used > 0 ? 1 : 0) + w.size();
    }
    return line <= std::max<size_t>(lines, 1);
}

class Configure : public ::testing::Test {
protected:
    void SetUp() override {
        sim.reset();
        dir = scratchDir();
        sim = std::make_unique<host::Simulation>(TARVIK_DATA_DIR, 60, dir.string());
        sim->setModuleDir(TARVIK_MODULE_DIR);
        sim->loadScenario(std::string(TARVIK_DATA_DIR) + "/Scenarios/TarvikM52-LC37B.scn");
        frames(10);  // the pad has found its launcher
    }

    HWND dialog(int id) const { return host::findDialog(id); }
    std::string text(int id, int control) const { return host::controlText(dialog(id), control); }
    void open() {
        sim->pressKey(OAPI_KEY_M);
        ASSERT_TRUE(dialog(kConfig));
        sim->step();  // the pad answers, and focus is back on the launcher
    }
    void click(int id, int control) { ASSERT_EQ(host::click(dialog(id), control), host::InputResult::Done); }
    void frames(int n) {
        for (int i = 0; i < n; ++i)
            sim->step();
    }
    int eventsOf(const std::string& vessel, const std::string& what) const {
        int n = 0;
        for (const host::Event& e : sim->events())
            n += e.vessel == vessel && e.what == what;
        return n;
    }

    std::filesystem::path dir;
    std::unique_ptr<host::Simulation> sim;
};

TEST_F(Configure, EachTypeReplacesTheLauncherWhereItStoodWithThePayloadHandedOver) {
    struct Case {
        int button;
        const char* name;
        const char* classKey;
    };
    for (const Case& c : {Case{1011, "TarvikM4", "tarvik/tarvikM4"}, Case{1014, "TarvikM42", "tarvik/tarvikM42"},
                          Case{1016, "TarvikM54", "tarvik/tarvikM54"}, Case{1019, "TarvikHP", "tarvik/tarvikHP"}}) {
        SCOPED_TRACE(c.name);
        SetUp();
        const host::FlightState where = sim->vessel("TarvikM52")->state;
        open();
        click(kConfig, c.button);
        click(kConfig, 1024);  // SAT3
        click(kConfig, 3);     // Apply
        frames(2);
        EXPECT_FALSE(sim->vessel("TarvikM52")) << "the old launcher stays";
        host::VesselData* made = sim->vessel(c.name);
        ASSERT_TRUE(made);
        EXPECT_EQ(made->className, c.classKey);
        EXPECT_TRUE(made->state.landed);
        EXPECT_NEAR(made->state.landedLng, where.landedLng, 1e-9);
        EXPECT_NEAR(made->state.landedLat, where.landedLat, 1e-9);
        const std::string saved = sim->scenarioText();
        EXPECT_EQ(scenarioValue(saved, c.name, "PAYLOAD"), "tarvik/sat3");
        EXPECT_EQ(std::stod(scenarioValue(saved, c.name, "PLDWEIGHT")), 3000);
        EXPECT_EQ(sim->focus(), made);
        EXPECT_EQ(std::ifstream(dir / "temp").peek(), EOF) << "temp is emptied";
    }
}

TEST_F(Configure, TheNewLauncherFliesOnItsOwnAutopilot) {
    for (const char* name : {"TarvikM4", "TarvikM42", "TarvikM54"}) {
        SCOPED_TRACE(name);
        SetUp();
        open();
        const int button = std::string(name) == "TarvikM4" ? 1011 : std::string(name) == "TarvikM42" ? 1014 : 1016;
        click(kConfig, button);
        click(kConfig, 3);
        frames(2);
        sim->pressKey(OAPI_KEY_A);
        ASSERT_TRUE(host::findDialog(name, 131));
        host::typeText(host::findDialog(name, 131), 1079, "51.6");
        frames(1);
        ASSERT_EQ(host::click(host::findDialog(name, 131), 1075), host::InputResult::Done);
        for (int i = 0; i < 110 * 60; ++i)
            sim->step();
        host::VesselData* v = sim->vessel(name);
        ASSERT_TRUE(v);
        EXPECT_GT(v->iface->GetAltitude(), 10e3) << "never flew";
        if (std::string(name) != "TarvikM4") {
            EXPECT_TRUE(sim->vessel(std::string(name) + "gem1")) << "no booster jettison";
        }
    }
}

TEST_F(Configure, FurtherLaunchersOfATypeAreNumbered) {
    open();
    click(kConfig, 1015);  // the type this launcher already is: a second one
    click(kConfig, 3);
    frames(2);
    ASSERT_TRUE(sim->vessel("TarvikM52-2"));
    EXPECT_EQ(sim->vessel("TarvikM52-2")->className, "tarvik/tarvikM52-2");

    VESSELSTATUS2 vs{};
    vs.version = 2;
    sim->vessel("TarvikM52-2")->iface->GetStatusEx(&vs);
    sim->createVessel("TarvikM52", "tarvik/sat1", vs);  // the base name taken again
    frames(1);
    open();
    click(kConfig, 1015);
    click(kConfig, 3);
    frames(2);
    ASSERT_TRUE(sim->vessel("TarvikM52-3"));
    EXPECT_EQ(sim->vessel("TarvikM52-3")->className, "tarvik/tarvikM52-2") << "-3 takes the -2 class";
}

TEST_F(Configure, ATypeWithoutALauncherClassKeepsTheLauncherAndSaysWhy) {
    open();
    click(kConfig, 1017);  // Tarvik Heavy
    click(kConfig, 3);
    frames(2);
    EXPECT_TRUE(sim->vessel("TarvikM52"));
    ASSERT_TRUE(dialog(kConfig)) << "the dialog comes back with the reason";
    const std::string why = text(kConfig, 1035);
    EXPECT_NE(why.find("kept TarvikM52"), std::string::npos) << why;
    EXPECT_TRUE(fitsIn(why, host::controlRect(dialog(kConfig), 1035))) << "the reason is cut off: " << why;

    // The launcher keeps the payload it had, not the heavy launcher's.
    const std::string saved = sim->scenarioText();
    EXPECT_EQ(scenarioValue(saved, "TarvikM52", "PAYLOAD"), "tarvik/sat1");
    EXPECT_EQ(std::stod(scenarioValue(saved, "TarvikM52", "PLDWEIGHT")), 4500);
    EXPECT_EQ(scenarioValue(saved, "TarvikM52", "Fairing_attached"), "1");
    EXPECT_NEAR(sim->vessel("TarvikM52")->caps.emptyMass, 2 * 3250 + 26767 + 3490 + 4500 + 1000, 1e-6);
}

TEST_F(Configure, ApplyWithTheSameTypeOnlyChangesThePayload) {
    open();
    click(kConfig, 1013);  // Carina
    click(kConfig, 3);
    frames(2);
    host::VesselData* v = sim->vessel("TarvikM52");
    ASSERT_TRUE(v);
    EXPECT_EQ(sim->vessels().size(), 2u) << "no vessel created";
    EXPECT_EQ(scenarioValue(sim->scenarioText(), "TarvikM52", "PAYLOAD"), "carina");
    EXPECT_NEAR(v->caps.emptyMass, 2 * 3250 + 26767 + 3490 + 6000 + 1000, 1e-6);
}

TEST_F(Configure, CancelLeavesThePadAndLauncherAsTheyWere) {
    open();
    EXPECT_TRUE(sim->vessel("TarvikM52")->thrusters.empty()) << "no thrusters while the dialog is open";
    click(kConfig, 1016);
    click(kConfig, 2);  // Cancel
    frames(2);
    EXPECT_TRUE(sim->vessel("TarvikM52"));
    EXPECT_FALSE(sim->vessel("TarvikM54"));
    EXPECT_FALSE(sim->vessel("TarvikM52")->thrusters.empty()) << "the pad thrusters come back";
    EXPECT_EQ(eventsOf("LC37B", "focus from TarvikM52"), 2) << "structures withdrawn and brought back";
    EXPECT_EQ(sim->focus()->name, "TarvikM52");
}

TEST_F(Configure, PayloadsTooLargeForALauncherFlyWithoutFairing) {
    // Launcher type buttons and, per payload button, the types it is too large for.
    const int types[] = {1011, 1014, 1015, 1016, 1017, 1019};
    struct Row {
        int button;
        std::vector<int> tooLargeFor;
    };
    const Row rows[] = {{1013, {}},
                        {1018, {}},
                        {1020, {1011, 1014}},
                        {1021, {}},
                        {1023, {1011, 1014, 1015, 1016, 1017, 1019}},
                        {1028, {1011, 1014, 1015, 1016}},
                        {1031, {1011, 1014}},
                        {1030, {1011, 1014, 1015, 1016}},
                        {1024, {}}};
    open();
    for (int type : types)
        for (const Row& r : rows) {
            click(kConfig, type);
            click(kConfig, r.button);
            const bool tooLarge = std::count(r.tooLargeFor.begin(), r.tooLargeFor.end(), type) > 0;
            EXPECT_EQ(text(kConfig, 1035), tooLarge ? "Payload Too Large" : "") << type << " with " << r.button;
            const std::string fairing = tooLarge || r.button == 1023 ? "0" : "1";
            EXPECT_EQ(text(kConfig, 1006), fairing) << type << " with " << r.button;
        }
    click(kConfig, 1015);
    click(kConfig, 1021);  // MMU
    EXPECT_EQ(text(kConfig, 1002), "vessels/nasa_mmu");
    EXPECT_EQ(text(kConfig, 1003), "mmu");
    EXPECT_EQ(text(kConfig, 1005), "211.700000");
    EXPECT_EQ(text(kConfig, 1004), "0.617881");
}

TEST_F(Configure, FieldsThatDoNotReadAreNamedAndNothingIsApplied) {
    open();
    host::typeText(dialog(kConfig), 1005, "heavy");
    click(kConfig, 3);
    ASSERT_TRUE(dialog(kConfig));
    EXPECT_NE(text(kConfig, 1035).find("Payload Weight"), std::string::npos);
    host::typeText(dialog(kConfig), 1005, "4500");
    host::typeText(dialog(kConfig), 1002, std::string(60, 'x'));
    click(kConfig, 3);
    ASSERT_TRUE(dialog(kConfig));
    EXPECT_NE(text(kConfig, 1035).find("Payload CFG"), std::string::npos);
    EXPECT_EQ(scenarioValue(sim->scenarioText(), "TarvikM52", "PAYLOAD"), "tarvik/sat1");
}

TEST_F(Configure, CustomPayloadsAreEditedAndPicked) {
    open();
    click(kConfig, 1130);  // <-  Edit
    ASSERT_TRUE(dialog(kCustom));
    host::check(dialog(kCustom), 1132);
    host::typeText(dialog(kCustom), 1136, "Relay");
    host::typeText(dialog(kCustom), 1002, "tarvik/sat1");
    host::typeText(dialog(kCustom), 1005, "1111");
    click(kCustom, 1134);  // Apply
    EXPECT_FALSE(dialog(kCustom));
    EXPECT_EQ(text(kConfig, 1122), "Relay");
    std::ifstream written(dir / "Config/tarvik/custom2.cfg");
    std::stringstream file;
    file << written.rdbuf();
    EXPECT_NE(file.str().find("NAME = Relay"), std::string::npos);
    EXPECT_NE(file.str().find("PLDWEIGHT = 1111"), std::string::npos);

    click(kConfig, 1122);
    EXPECT_EQ(text(kConfig, 1002), "tarvik/sat1");
    EXPECT_EQ(text(kConfig, 1005), "1111.000000");

    // A picture named by the file, and a file that is not there.
    std::ofstream(dir / "Config/tarvik/custom3.cfg") << "NAME = Pictured\nIMAGE = " << (dir / "none.bmp").string()
                                                     << "\n";
    click(kConfig, 1123);
    EXPECT_EQ(text(kConfig, 1002), "tarvik/sat1") << "fields the file lacks stay";
    EXPECT_NE(text(kConfig, 1035).find("PAYLOAD"), std::string::npos);
    std::filesystem::remove(dir / "Config/tarvik/custom3.cfg");
    std::ofstream(dir / "Config/tarvik/custom3.cfg") << "garbage\n";
    click(kConfig, 1123);
    EXPECT_NE(text(kConfig, 1035).find("custom3.cfg"), std::string::npos);
}

TEST_F(Configure, TheSettingsDialogNamesTheFolderItsPicturesAreReadFrom) {
    // The folder as the custom payload settings dialog tells the pilot.
    const host::ResourceScript resources =
        host::readResourceScript(std::string(TARVIK_MODULE_DIR) + "/TarvikM52.rc.txt");
    std::string folder;
    for (const host::ControlTemplate& c : resources.dialog(kCustom)->controls) {
        const size_t at = c.caption.find("images are in the ");
        if (at != std::string::npos) {
            std::istringstream words(c.caption.substr(at + 18));
            words >> folder;
        }
    }
    ASSERT_FALSE(folder.empty()) << "the dialog names no folder";

    // A picture put there is the one the dialog shows for the first custom payload.
    const host::Rgb mark{12, 200, 34};
    const std::filesystem::path picture = dir / std::filesystem::path(folder).relative_path() / "custom1.bmp";
    std::filesystem::create_directories(picture.parent_path());
    const std::vector<uint8_t> bytes = host::encodeBmp(host::Surface(64, 64, mark));
    std::ofstream(picture, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    open();
    click(kConfig, 1121);
    const host::Surface* shown = host::pictureSurface(dialog(kConfig), 1029);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->pixel(shown->width() / 2, shown->height() / 2), mark)
        << "a picture in " << folder << " under the root folder is not the one shown";
}

TEST_F(Configure, ThePlacementPreviewAndItsEndRestoreTheView) {
    open();
    click(kConfig, 1130);
    click(kCustom, 1141);  // Visual Adjustment
    ASSERT_TRUE(dialog(kOffset));
    EXPECT_FALSE(IsWindowVisible(dialog(kCustom)));
    EXPECT_EQ(sim->view().hudMode, HUD_NONE);
    EXPECT_TRUE(sim->view().cameraInternal);
    const std::string start = text(kOffset, 1115);
    click(kOffset, 1116);
    click(kOffset, 1119);
    EXPECT_NEAR(std::stod(text(kOffset, 1115)) - std::stod(start), 0.09, 1e-9);
    click(kOffset, 1114);  // OK
    EXPECT_FALSE(dialog(kOffset));
    EXPECT_TRUE(IsWindowVisible(dialog(kCustom)));
    EXPECT_EQ(sim->view().hudMode, HUD_SURFACE);
    EXPECT_FALSE(sim->view().cameraInternal);
    EXPECT_TRUE(sim->view().mfdOn[0] && sim->view().mfdOn[1]);
    EXPECT_FALSE(hasMesh(*sim->vessel("TarvikM52"), "tarvik/pat"));

}

// F1 ends the preview as OK does, and the pilot finds the way back to the
// pad: the settings, the configuration dialog, the engines and the tower.
TEST_F(Configure, F1EndsThePreviewAsOkDoes) {
    open();
    click(kConfig, 1130);
    click(kCustom, 1141);
    click(kOffset, 1116);
    const std::string moved = text(kOffset, 1115);
    sim->pressKey(OAPI_KEY_F1);
    EXPECT_FALSE(dialog(kOffset));
    ASSERT_TRUE(dialog(kCustom));
    EXPECT_TRUE(IsWindowVisible(dialog(kCustom))) << "the settings stayed hidden: the pilot is stuck";
    EXPECT_EQ(text(kCustom, 1004), moved);
    EXPECT_EQ(sim->view().hudMode, HUD_SURFACE);
    EXPECT_FALSE(sim->view().cameraInternal);
    EXPECT_FALSE(hasMesh(*sim->vessel("TarvikM52"), "tarvik/pat"));

    click(kCustom, 1135);  // Cancel
    ASSERT_TRUE(IsWindowVisible(dialog(kConfig)));
    click(kConfig, 2);  // Cancel
    frames(2);
    sim->setThrottle(1);
    frames(2);
    EXPECT_FALSE(sim->vessel("TarvikM52")->thrusters.empty()) << "the engines did not come back";
    EXPECT_GT(sim->vessel("TarvikM52")->thrusters[1]->effectiveLevel, 0) << "no thrust on the pad";
}

// The pad is signalled by the launcher's latitude; a scenario can switch the signal off.
TEST(ConfigurePad, TheSignalGoesToThePadOfTheLaunchersSiteUnlessSwitchedOff) {
    const Build& b = build("TarvikM52");
    auto signalled = [&](double latitude, const std::string& extraLine) {
        std::string block = landedBlock(b.name, b.classKey, payloadLines(b) + extraLine);
        char pos[64];
        std::snprintf(pos, sizeof pos, "-80.5680 %.5f", latitude);
        block.replace(block.find("-80.5680 28.53429"), 17, pos);
        std::string pads;
        for (const char* pad : {"LC37", "LC6", "LC37B"})
            pads += std::string(pad) + ":ShuttlePB\n  STATUS Orbiting Earth\n  RPOS 7000000 0 0\n  RVEL 0 0 7546\nEND\n";
        auto sim = loadText(scenario(b.name, block + pads), scratchDir());
        sim->step();
        sim->pressKey(OAPI_KEY_M);
        for (const host::Event& e : sim->events())
            if (e.what == "focus from TarvikM52")
                return e.vessel;
        return std::string("none");
    };
    EXPECT_EQ(signalled(28.53, ""), "LC37");
    EXPECT_EQ(signalled(34.6, ""), "LC6");
    EXPECT_EQ(signalled(28.53429, ""), "LC37B");
    EXPECT_EQ(signalled(28.53429, "  Disable_Base_Animation 1\n"), "none");
}

}  // namespace
}  // namespace medium_test
