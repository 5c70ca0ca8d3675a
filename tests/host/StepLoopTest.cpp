// The step loop: time and time acceleration, the order and times of the
// callbacks, vessels created and deleted during a step, focus and keys.
#include <cstdlib>

#include "HostTestSupport.h"
#include "Orbitersdk.h"

using namespace hosttest;

namespace {

double savedNumber(host::Simulation& sim, const std::string& vessel, const std::string& key) {
    return std::strtod(savedValue(sim.scenarioText(), vessel, key).c_str(), nullptr);
}

std::string scenarioWith(const std::string& probeLines) {
    return "BEGIN_SHIPS\nP1:probe/probeA\n  STATUS Orbiting Earth\n  RPOS 6671010 0 0\n  RVEL 0 0 7730\n" + probeLines +
           "END\nPart:probe/passive\n  STATUS Orbiting Earth\n  RPOS 0 0 6671010\n  RVEL 7730 0 0\nEND\nEND_SHIPS\n";
}

}  // namespace

class StepLoop : public HostTest {};

TEST_F(StepLoop, TimeAdvancesByFrameLengthTimesTimeAcceleration) {
    const double mjd = sim->mjd();
    sim->step();
    EXPECT_DOUBLE_EQ(sim->simTime(), 1.0 / 60);
    oapiSetTimeAcceleration(10);
    sim->step();
    EXPECT_DOUBLE_EQ(sim->simStep(), 10.0 / 60);
    EXPECT_DOUBLE_EQ(oapiGetSimTime(), 11.0 / 60);
    EXPECT_NEAR(oapiGetSimMJD() - mjd, 11.0 / 60 / 86400, 1e-10);
    EXPECT_EQ(sim->stepCount(), 2);
    EXPECT_TRUE(hasEvent(*sim, "", "time acceleration 10"));

    oapiSetTimeAcceleration(1e9);
    EXPECT_EQ(oapiGetTimeAcceleration(), 100000);
    oapiSetTimeAcceleration(0.001);
    EXPECT_EQ(oapiGetTimeAcceleration(), 0.1);
}

TEST_F(StepLoop, PreStepSeesTheFrameStartAndPostStepItsEnd) {
    sim->createVessel("P1", "probe/probeA", orbiting());
    sim->step();
    sim->step();
    EXPECT_DOUBLE_EQ(savedNumber(*sim, "P1", "LASTPRE"), 1.0 / 60);
    EXPECT_DOUBLE_EQ(savedNumber(*sim, "P1", "LASTPOST"), 2.0 / 60);
}

TEST_F(StepLoop, VesselCreatedDuringAStepExistsAtOnceAndStepsFromTheNext) {
    sim->loadScenario(writeFile("a.scn", scenarioWith("  SPAWN_AT 2\n")));
    sim->step();
    const VECTOR3 parentAtFrameStart = sim->vessel("P1")->state.pos;
    sim->step();
    host::VesselData* child = sim->vessel("P1-child");
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(hasEvent(*sim, "P1", "created P1-child (probe/probeA)"));
    EXPECT_NEAR(length(child->state.pos - parentAtFrameStart), 0, 1e-3);
    EXPECT_EQ(savedNumber(*sim, "P1-child", "COUNTER"), 0);  // not stepped in the frame it was made
    sim->step();
    EXPECT_EQ(savedNumber(*sim, "P1-child", "COUNTER"), 1);
}

TEST_F(StepLoop, DeletionTakesEffectAtTheEndOfTheStepAndFocusMovesOn) {
    sim->loadScenario(writeFile("a.scn", scenarioWith("  DELETE_AT 2\n")));
    ASSERT_EQ(sim->focus()->name, "P1");
    sim->step();
    sim->step();
    EXPECT_EQ(sim->vessel("P1"), nullptr);
    EXPECT_TRUE(hasEvent(*sim, "P1", "deleted P1"));
    EXPECT_EQ(sim->focus()->name, "Part");

    host::VesselData* part = sim->vessel("Part");
    OBJHANDLE stale = part;
    EXPECT_TRUE(oapiIsVessel(stale));  // found, and the last one found
    sim->deleteVessel(part);  // between frames: goes at the next frame
    EXPECT_NE(sim->vessel("Part"), nullptr);
    sim->step();
    EXPECT_FALSE(oapiIsVessel(stale));
    EXPECT_EQ(oapiGetVesselInterface(stale), nullptr);
    EXPECT_EQ(sim->focus(), nullptr);
}

TEST_F(StepLoop, KeysGoToTheFocusVesselAsKeyDown) {
    sim->createVessel("A1", "probe/probeA", orbiting());
    sim->createVessel("A2", "probe/probeA", orbiting());
    ASSERT_EQ(sim->focus()->name, "A1");
    EXPECT_TRUE(sim->pressKey(OAPI_KEY_K));
    EXPECT_FALSE(sim->pressKey(OAPI_KEY_A));
    EXPECT_EQ(savedNumber(*sim, "A1", "LASTKEY"), OAPI_KEY_A);  // the probe only takes keys marked down
    EXPECT_EQ(savedNumber(*sim, "A2", "LASTKEY"), 0);
    EXPECT_TRUE(hasEvent(*sim, "A1", "key K"));
}

TEST_F(StepLoop, ThrottleDrivesTheMainGroupAndLitExhaustsAreLogged) {
    host::VesselData* v = sim->createVessel("A1", "probe/probeA", orbiting());
    sim->setThrottle(0.7);
    EXPECT_DOUBLE_EQ(v->iface->GetThrusterGroupLevel(THGROUP_MAIN), 0.7);
    sim->step();
    EXPECT_TRUE(hasEvent(*sim, "A1", "thruster 0 lit"));
    sim->pressKey(OAPI_KEY_L);  // the probe's key toggles its engine
    sim->step();
    EXPECT_TRUE(hasEvent(*sim, "A1", "thruster 0 out"));
}

TEST_F(StepLoop, PilotCannotFocusAVesselThatRefusesButAModuleCan) {
    host::VesselData* a = sim->createVessel("A1", "probe/probeA", orbiting());
    host::VesselData* pad = sim->createVessel("Pad", "probe/nofocus", orbiting());
    EXPECT_FALSE(sim->setFocus(pad));
    EXPECT_EQ(sim->focus(), a);
    EXPECT_EQ(oapiSetFocusObject(pad), a);  // a launcher signalling its pad
    EXPECT_EQ(oapiGetFocusObject(), pad);
    EXPECT_TRUE(hasEvent(*sim, "Pad", "focus from A1"));
}

TEST_F(StepLoop, ObjectLookUpsAreSafe) {
    host::VesselData* a = sim->createVessel("Probe", "probe/passive", orbiting());
    char name[4];
    oapiGetObjectName(a, name, sizeof name);
    EXPECT_STREQ(name, "Pro");
    EXPECT_EQ(oapiGetVesselByIndex(0), a);
    EXPECT_EQ(oapiGetVesselByIndex(1), nullptr);
    EXPECT_EQ(oapiGetVesselByIndex(-1), nullptr);
    EXPECT_EQ(oapiGetVesselByName(const_cast<char*>("Probe")), a);
    EXPECT_EQ(oapiGetObjectByName(const_cast<char*>("Nobody")), nullptr);
    OBJHANDLE earth = oapiGetGbodyByName(const_cast<char*>("Earth"));
    EXPECT_DOUBLE_EQ(oapiGetMass(earth), 5.973698968e24);
    EXPECT_FALSE(oapiIsVessel(earth));
    EXPECT_EQ(a->iface->GetGravityRef(), earth);
}

namespace hosttest {
namespace {

// A module may hold a vessel's handle after the vessel has gone: the host
// answers as for no vessel instead of reading freed memory.
TEST_F(HostTest, AHandleOfADeletedVesselIsNeverFollowed) {
    auto sim = newSimulation();
    host::VesselData* gone = sim->createVessel("Gone", "probe/probeA", orbiting());
    OBJHANDLE handle = gone;
    sim->deleteVessel(gone);
    sim->step();
    double altitude = -1, heading = -1;
    EXPECT_FALSE(oapiGetAltitude(handle, &altitude));
    EXPECT_FALSE(oapiGetHeading(handle, &heading));
    EXPECT_FALSE(oapiIsVessel(handle));
    EXPECT_EQ(altitude, -1);
}

}  // namespace
}  // namespace hosttest
