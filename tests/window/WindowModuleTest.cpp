// A module opens a dialog from its own resources: the dialog procedure gets
// the user's input, draws a resource bitmap on its picture, and the host
// records the dialog opening and closing.
#include <gtest/gtest.h>

#include <algorithm>

#include "Orbitersdk.h"
#include "sim/Simulation.h"
#include "window/Dialogs.h"

using namespace host;

namespace {

class WindowModule : public ::testing::Test {
protected:
    void SetUp() override {
        sim_ = std::make_unique<Simulation>(std::string(TARVIK_TEST_DIR) + "/data");
        sim_->setModuleDir(TARVIK_MODULE_DIR);
    }

    VesselData* add(const std::string& name, const std::string& className) {
        VESSELSTATUS2 status{};
        status.version = 2;
        status.rbody = sim_->earth();
        status.rpos = _V(7.0e6, 0, 0);
        status.rvel = _V(0, 0, 7546);
        VesselData* v = sim_->createVessel(name, className, status);
        sim_->setFocus(v);
        return v;
    }

    bool logged(const std::string& what) {
        const auto& events = sim_->events();
        return std::any_of(events.begin(), events.end(), [&](const Event& e) { return e.what == what; });
    }

    std::unique_ptr<Simulation> sim_;
};

}  // namespace

TEST_F(WindowModule, OpensItsDialogAndAnswersInput) {
    add("Tester", "test/windowtest");
    sim_->pressKey(OAPI_KEY_D);
    HWND dlg = findDialog("TarvikWindowTest", 100);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(logged("dialog opened 100"));
    EXPECT_EQ(dialogCaption(dlg), "Window test");
    EXPECT_EQ(controlText(dlg, 10), "ready");
    EXPECT_EQ(controlText(dlg, 66), "context ok");
    EXPECT_EQ(comboItems(dlg, 41), (std::vector<std::string>{"Earth", "Moon", "Mars"}));
    EXPECT_FALSE(controlVisible(dlg, 70));
    EXPECT_FALSE(controlEnabled(dlg, 71));

    typeText(dlg, 10, "hello");
    EXPECT_EQ(controlText(dlg, 61), "changes 1");
    check(dlg, 32);
    EXPECT_EQ(controlText(dlg, 62), "radio 32");
    select(dlg, 41, "Moon");
    EXPECT_EQ(controlText(dlg, 63), "picked Moon");
    deliverPaintMessages();
    EXPECT_NE(controlText(dlg, 64), "");

    // Draw: bitmap 200 (left half red, right half blue) copied, then ORed four pixels on.
    click(dlg, 20);
    EXPECT_EQ(controlText(dlg, 60), "got hello");
    const Surface* s = pictureSurface(dlg, 50);
    ASSERT_NE(s, nullptr);
    const Rgb red{255, 0, 0}, magenta{255, 0, 255}, face{212, 208, 200};
    EXPECT_EQ(s->pixel(0, 0), red);
    EXPECT_EQ(s->pixel(5, 3), magenta);                     // blue | red
    EXPECT_EQ(s->pixel(9, 0), (Rgb{face.r, face.g, 255}));  // untouched face | blue
    EXPECT_EQ(s->pixel(12, 0), face);
    EXPECT_EQ(s->pixel(0, 8), (Rgb{0, 255, 0}));  // "A": background,
    EXPECT_EQ(s->pixel(1, 8), (Rgb{0, 0, 0}));    // then ink

    click(dlg, IDCANCEL);
    EXPECT_EQ(findDialog("TarvikWindowTest", 100), nullptr);
    EXPECT_TRUE(logged("dialog closed 100"));

    // Opened again: a fresh dialog that knows the last one was destroyed.
    sim_->pressKey(OAPI_KEY_D);
    dlg = findDialog("TarvikWindowTest", 100);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(controlText(dlg, 65), "destroyed 1");
    click(dlg, 21);  // closes itself from inside its procedure
    EXPECT_EQ(findDialog("TarvikWindowTest", 100), nullptr);
}

TEST_F(WindowModule, ModuleWithoutResourcesIsAClearError) {
    add("Bare", "test/windowbare");
    try {
        sim_->pressKey(OAPI_KEY_D);
        FAIL() << "no error";
    } catch (const InputError& e) {
        EXPECT_NE(e.file.find("TarvikWindowBare.rc.txt"), std::string::npos) << e.file;
    }
    EXPECT_TRUE(openDialogs().empty());
}
