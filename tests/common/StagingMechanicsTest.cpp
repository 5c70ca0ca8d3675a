// The mechanics of staging the launchers share, on a vessel record of their
// own: the pad hold-down, the stage timer, the windows of the timeline,
// stream rows as the host receives them and the names of released parts.
#include <gtest/gtest.h>

#include <cstring>

#include "PartRelease.h"
#include "StepCounters.h"
#include "StreamRows.h"
#include "sim/VesselData.h"

namespace {

// A launcher on the ground with a main engine, a hover thruster and a tank.
struct PadStack {
    host::VesselData record;
    VESSEL2 launcher{&record};

    PadStack() {
        record.name = "TarvikM52";
        record.state.landed = true;
        PROPELLANT_HANDLE tank = launcher.CreatePropellantResource(1000);
        THRUSTER_HANDLE main = launcher.CreateThruster(_V(0, 0, -20), _V(0, 0, 1), 0, tank);
        THRUSTER_HANDLE hover = launcher.CreateThruster(_V(0, 0, -20), _V(1, 0, -1), 0, tank);
        launcher.CreateThrusterGroup(&main, 1, THGROUP_MAIN);
        launcher.CreateThrusterGroup(&hover, 1, THGROUP_HOVER);
    }
};

TEST(PadHoldDown, LetsGoOnTheHundredthStepAtFullThrustAndNotBefore) {
    PadStack pad;
    pad.launcher.SetThrusterGroupLevel(THGROUP_MAIN, 0.3);
    double steps = 0;
    int releasedOn = 0;
    for (int step = 1; step <= 150; ++step)
        if (tarvik::padHoldDownStep(pad.launcher, 0, steps, tarvik::Release::OnCount))
            releasedOn = step;
    EXPECT_EQ(releasedOn, 100);
    EXPECT_EQ(pad.launcher.GetThrusterGroupLevel(THGROUP_MAIN), 1) << "the throttle goes to full on the pad";
    EXPECT_EQ(pad.launcher.GetThrusterGroupLevel(THGROUP_HOVER), 0.5) << "past the hold-down the pad cloud shows";
}

TEST(PadHoldDown, ALauncherThatNeedsThrustIsNotLetGoWithItsEnginesOff) {
    PadStack pad;
    double steps = 100;  // counted to the hold-down, engines then shut
    EXPECT_FALSE(tarvik::padHoldDownStep(pad.launcher, 0, steps, tarvik::Release::OnCountWithThrust));
    steps = 100;
    EXPECT_TRUE(tarvik::padHoldDownStep(pad.launcher, 0, steps, tarvik::Release::OnCount));

    double clock = 0;
    tarvik::runMissionClock(pad.launcher, clock, 0.5);
    EXPECT_EQ(clock, 0) << "the mission clock waits for the launcher to leave the ground";
    pad.record.state.landed = false;
    tarvik::runMissionClock(pad.launcher, clock, 0.5);
    EXPECT_EQ(clock, 0.5);
}

TEST(StageTimer, LightsTheUpperStageAfterItsWaitAndSeparatesTheCoreAfterItsOwn) {
    PadStack stack;
    double mode = 1, count = 0;
    for (int step = 1; step <= 700; ++step)
        EXPECT_EQ(tarvik::stageTimerStep(stack.launcher, mode, count, 700), tarvik::StageTimerEvent::None);
    EXPECT_EQ(stack.launcher.GetThrusterGroupLevel(THGROUP_MAIN), 0);
    tarvik::stageTimerStep(stack.launcher, mode, count, 700);
    EXPECT_EQ(stack.launcher.GetThrusterGroupLevel(THGROUP_MAIN), 1);
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(count, 0);

    mode = 2;
    int separatedOn = 0;
    for (int step = 1; step <= 600; ++step)
        if (tarvik::stageTimerStep(stack.launcher, mode, count, 700) == tarvik::StageTimerEvent::CoreSeparates)
            separatedOn = step;
    EXPECT_EQ(separatedOn, 501);
    EXPECT_EQ(stack.launcher.GetThrusterGroupLevel(THGROUP_MAIN), 0) << "the core is held off while it counts down";
}

TEST(Timeline, WindowsAreOpenAtBothEnds) {
    EXPECT_FALSE(tarvik::within(94, 94, 97));
    EXPECT_TRUE(tarvik::within(94.0001, 94, 97));
    EXPECT_FALSE(tarvik::within(97, 94, 97));
}

TEST(StreamRow, EveryParameterReachesTheHostInItsOwnPlace) {
    using PS = PARTICLESTREAMSPEC;
    const tarvik::StreamRow row = {1, 2, 3, 4, 5, 6, 7, PS::DIFFUSE, PS::LVL_PSQRT, 8, 9, PS::ATM_PLOG, 10, 11, "t"};
    static int textureStandIn;
    SURFHANDLE texture = reinterpret_cast<SURFHANDLE>(&textureStandIn);
    const PARTICLESTREAMSPEC s = tarvik::particleStream(row, texture);
    EXPECT_EQ(s.flags, 0u);
    const double got[] = {s.srcsize,     s.srcrate, s.v0,   s.srcspread, s.lifetime, s.growthrate,
                          s.atmslowdown, s.lmin,    s.lmax, s.amin,      s.amax};
    const double want[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(got[i], want[i]) << "parameter " << i;
    EXPECT_EQ(s.ltype, PS::DIFFUSE);
    EXPECT_EQ(s.levelmap, PS::LVL_PSQRT);
    EXPECT_EQ(s.atmsmap, PS::ATM_PLOG);
    EXPECT_EQ(s.tex, texture);
}

TEST(PartName, IsTheLaunchersNameAndTheSuffixCutToTheBuffer) {
    PadStack stack;
    char name[tarvik::kPartNameSize];
    EXPECT_STREQ(tarvik::partName(stack.launcher, "gem1", name, sizeof name), "TarvikM52gem1");
    char tiny[8];
    EXPECT_STREQ(tarvik::partName(stack.launcher, "fairing1", tiny, sizeof tiny), "TarvikM");
}

}  // namespace
