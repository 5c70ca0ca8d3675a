// What the host records of a vessel for tests and tools: meshes by stable
// index, thrusters and their levels, effects, animations, and the log of
// visual changes.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "HostTestSupport.h"
#include "Orbitersdk.h"

using namespace hosttest;

class VesselRecord : public HostTest {
protected:
    host::VesselData* v = sim->createVessel("V", "probe/nofocus", orbiting());
    VESSEL& vessel = *v->iface;
};

TEST_F(VesselRecord, MeshSlotsKeepTheirIndices) {
    EXPECT_EQ(vessel.AddMesh("a"), 0u);
    EXPECT_EQ(vessel.AddMesh(oapiLoadMeshGlobal("b")), 1u);
    EXPECT_EQ(vessel.AddMesh("c"), 2u);
    EXPECT_TRUE(vessel.DelMesh(1));
    EXPECT_FALSE(vessel.DelMesh(1));
    EXPECT_EQ(vessel.AddMesh("d"), 3u);  // the hole stays a hole
    EXPECT_FALSE(v->meshes[1].present);

    // deleting the last meshes frees their indices again (a pad switching its lights)
    EXPECT_TRUE(vessel.DelMesh(3));
    EXPECT_EQ(vessel.AddMesh("d"), 3u);

    EXPECT_EQ(vessel.InsertMesh("x", 0), 0u);
    EXPECT_TRUE(hasEvent(*sim, "V", "mesh 0 replaced a by x"));
    EXPECT_EQ(vessel.InsertMesh("y", 6), 6u);
    EXPECT_EQ(vessel.GetMeshCount(), 7u);
    EXPECT_FALSE(v->meshes[5].present);

    VECTOR3 ofs = _V(0, 0, 2);
    EXPECT_TRUE(vessel.ShiftMesh(6, ofs));
    EXPECT_DOUBLE_EQ(v->meshes[6].offset.z, 2);
    vessel.ClearMeshes();
    EXPECT_EQ(vessel.GetMeshCount(), 0u);
    EXPECT_TRUE(hasEvent(*sim, "V", "mesh 6 removed y"));
}

TEST_F(VesselRecord, ThrusterLevelsAreClampedAndNeedPropellant) {
    PROPELLANT_HANDLE tank = vessel.CreatePropellantResource(100);
    THRUSTER_HANDLE a = vessel.CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1000, tank, 3000);
    THRUSTER_HANDLE b = vessel.CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1000, tank, 3000);
    THRUSTER_HANDLE dry = vessel.CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1000);
    THRUSTER_HANDLE group[] = {a, b};
    vessel.CreateThrusterGroup(group, 2, THGROUP_MAIN);

    vessel.SetThrusterLevel(a, 1.5);
    EXPECT_EQ(vessel.GetThrusterLevel(a), 1);
    EXPECT_DOUBLE_EQ(vessel.GetThrusterGroupLevel(THGROUP_MAIN), 0.5);  // mean of its thrusters
    vessel.SetThrusterLevel(b, -1);
    EXPECT_EQ(vessel.GetThrusterLevel(b), 0);
    vessel.SetThrusterLevel(dry, 1);
    EXPECT_EQ(vessel.GetThrusterLevel(dry), 0);  // no propellant resource
    vessel.SetPropellantMass(tank, 0);
    EXPECT_EQ(vessel.GetThrusterLevel(a), 0);
    EXPECT_EQ(v->thrusters[0]->level, 1);  // the setting stays for when propellant comes back

    vessel.DelPropellantResource(tank);
    EXPECT_EQ(tank, nullptr);
    EXPECT_EQ(v->thrusters[0]->resource, nullptr);
}

TEST_F(VesselRecord, ThePropulsionLayoutStampChangesWithTheLayoutAndNotWithLevels) {
    std::vector<uint64_t> seen{v->propulsionLayout};
    auto changed = [&] {
        const bool fresh = std::find(seen.begin(), seen.end(), v->propulsionLayout) == seen.end();
        seen.push_back(v->propulsionLayout);
        return fresh;
    };
    PROPELLANT_HANDLE tank = vessel.CreatePropellantResource(100);
    PROPELLANT_HANDLE spare = vessel.CreatePropellantResource(50);
    THRUSTER_HANDLE a = vessel.CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1000, tank, 3000);
    EXPECT_TRUE(changed());
    THRUSTER_HANDLE b = vessel.CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1000, tank, 3000);
    EXPECT_TRUE(changed());
    THRUSTER_HANDLE group[] = {a, b};
    THGROUP_HANDLE main = vessel.CreateThrusterGroup(group, 2, THGROUP_MAIN);
    EXPECT_TRUE(changed());

    // Flying changes nothing of it: levels, propellant burnt, steps.
    vessel.SetThrusterGroupLevel(THGROUP_MAIN, 1);
    vessel.SetThrusterLevel(a, 0.5);
    vessel.SetPropellantMass(tank, 60);
    sim->step();
    EXPECT_FALSE(changed());

    vessel.SetThrusterResource(b, spare);
    EXPECT_TRUE(changed());
    vessel.DelThrusterGroup(main, THGROUP_MAIN, false);
    EXPECT_TRUE(changed());
    vessel.DelThruster(a);
    EXPECT_TRUE(changed());
    vessel.DelPropellantResource(spare);
    EXPECT_TRUE(changed());
    vessel.ClearPropellantResources();
    EXPECT_TRUE(changed());
    vessel.ClearThrusterDefinitions();
    EXPECT_TRUE(changed());

    host::VesselData* other = sim->createVessel("W", "probe/nofocus", orbiting());
    other->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1);
    EXPECT_NE(other->propulsionLayout, v->propulsionLayout) << "no two layouts share a stamp";
}

TEST_F(VesselRecord, HandlesThatOutlivedTheirThrustersAreIgnored) {
    PROPELLANT_HANDLE tank = vessel.CreatePropellantResource(100);
    THRUSTER_HANDLE th = vessel.CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1000, tank, 3000);
    vessel.AddExhaust(th, 1, 1);
    vessel.AddExhaustStream(th);
    vessel.CreateThrusterGroup(&th, 1, THGROUP_MAIN);
    vessel.ClearThrusterDefinitions();
    EXPECT_TRUE(v->exhausts.empty());
    EXPECT_TRUE(v->streams.empty());
    EXPECT_TRUE(v->groups.empty());

    vessel.SetThrusterLevel(th, 1);  // a module-wide handle from before the clear
    EXPECT_EQ(vessel.GetThrusterLevel(th), 0);

    host::VesselData* other = sim->createVessel("W", "probe/nofocus", orbiting());
    THRUSTER_HANDLE foreign = other->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1, tank);
    vessel.SetThrusterLevel(foreign, 1);
    EXPECT_EQ(other->thrusters[0]->level, 0);
    EXPECT_EQ(other->thrusters[0]->resource, nullptr);  // the tank was not W's either
}

TEST_F(VesselRecord, AnimationsKeepTheirOwnCopyOfTheTransform) {
    UINT anim = vessel.CreateAnimation(0.25);
    {
        UINT groups[] = {3, 4};
        MGROUP_ROTATE rotate(1, groups, 2, _V(0, 1, 0), _V(1, 0, 0), 1.5f);
        EXPECT_NE(vessel.AddAnimationComponent(anim, 0, 1, &rotate), nullptr);
    }
    const host::AnimationComponent& c = *v->animations[anim].components[0];
    ASSERT_EQ(c.transform->Type(), MGROUP_TRANSFORM::ROTATE);
    EXPECT_FLOAT_EQ(static_cast<const MGROUP_ROTATE&>(*c.transform).angle, 1.5f);
    EXPECT_EQ(c.groups, (std::vector<UINT>{3, 4}));
    EXPECT_EQ(c.transform->grp[1], 4u);
    EXPECT_EQ(vessel.GetAnimation(anim), 0.25);
    EXPECT_FALSE(vessel.SetAnimation(anim + 1, 1));
}

TEST_F(VesselRecord, VisualChangesAreLoggedOnceEach) {
    BEACONLIGHTSPEC beacon{};
    vessel.AddBeacon(&beacon);
    UINT anim = vessel.CreateAnimation(0);
    sim->step();
    const size_t quiet = sim->events().size();
    sim->step();
    EXPECT_EQ(sim->events().size(), quiet) << "nothing changed, nothing logged";

    beacon.active = true;
    vessel.SetAnimation(anim, 0.5);
    sim->step();
    EXPECT_TRUE(hasEvent(*sim, "V", "beacon 0 on"));
    EXPECT_TRUE(hasEvent(*sim, "V", "animation 0 moving"));
    sim->step();
    EXPECT_TRUE(hasEvent(*sim, "V", "animation 0 at rest at 0.5"));

    LightEmitter* light = vessel.AddPointLight(_V(0, 0, 0), 10, 0, 0, 0.01, {1, 1, 1, 0}, {1, 1, 1, 0}, {1, 1, 1, 0});
    light->SetIntensity(0.5);
    EXPECT_DOUBLE_EQ(v->lights[0]->GetIntensity(), 0.5);
    vessel.ClearLightEmitters();
    EXPECT_TRUE(hasEvent(*sim, "V", "light 0 added"));
    EXPECT_TRUE(hasEvent(*sim, "V", "lights cleared"));
}

TEST_F(VesselRecord, AnnotationTextsAreLoggedWhenTheyChangeAndGoWithTheirVessel) {
    host::VesselData* probe = sim->createVessel("P", "probe/probeA", orbiting());
    ASSERT_EQ(sim->annotations().size(), 1u);
    EXPECT_EQ(sim->annotations()[0]->owner, probe);
    NOTEHANDLE note = oapiCreateAnnotation(false, 1, _V(1, 1, 1));
    oapiAnnotationSetText(note, const_cast<char*>("Hello"));
    sim->step();
    EXPECT_EQ(sim->events().back().what, "annotation 1 \"Hello\"");

    // A clock that changes every frame is logged about once a second, not 60 times.
    const size_t before = sim->events().size();
    char text[32];
    for (int frame = 0; frame < 200; ++frame) {
        std::snprintf(text, sizeof text, "%d", frame);
        oapiAnnotationSetText(note, text);
        sim->step();
    }
    size_t clockLines = 0;
    for (size_t i = before; i < sim->events().size(); ++i)
        clockLines += sim->events()[i].what.rfind("annotation 1 ", 0) == 0;
    EXPECT_GE(clockLines, 2u);
    EXPECT_LE(clockLines, 3u);
    oapiAnnotationSetText(note, const_cast<char*>("Hello"));

    sim->deleteVessel(probe);
    sim->step();
    ASSERT_EQ(sim->annotations().size(), 1u);
    EXPECT_EQ(sim->annotations()[0]->text, "Hello");
}

TEST_F(VesselRecord, StateRelativeToAVesselFollowsItOnlyWhileItLives) {
    host::VesselData* ref = sim->createVessel("R", "probe/nofocus", orbiting(400e3));
    VESSELSTATUS2 status = orbiting();
    status.rbody = ref;
    status.rpos = _V(10, -20, 30);
    status.rvel = _V(1, 2, 3);
    vessel.DefSetStateEx(&status);
    EXPECT_EQ(v->state.pos.x, ref->state.pos.x + 10);
    EXPECT_EQ(v->state.pos.z, ref->state.pos.z + 30);
    EXPECT_EQ(v->state.vel.z, ref->state.vel.z + 3);

    // Once the vessel is gone its handle names nothing: the record is global.
    sim->deleteVessel(ref);
    sim->step();
    ASSERT_EQ(sim->vessel("R"), nullptr);
    status.rpos = _V(7e6, 0, 0);
    status.rvel = _V(0, 0, 7500);
    vessel.DefSetStateEx(&status);
    EXPECT_EQ(v->state.pos.x, 7e6);
    EXPECT_EQ(v->state.vel.z, 7500);
}

// A pad sets its lights, vents and arms every frame: none of that reads or
// moves where it stands, so its pose waits for a reader as if nobody had
// touched it, and a reader finds it stood.
TEST_F(VesselRecord, ThrustersAnimationsAndMeshesLeaveARestingVesselsPoseWaiting) {
    VESSELSTATUS2 landed = {};
    landed.version = 2;
    landed.status = 1;
    landed.surf_lng = -1.4;
    landed.surf_lat = 0.5;
    landed.surf_hdg = 1.6;
    vessel.DefSetStateEx(&landed);
    PROPELLANT_HANDLE tank = vessel.CreatePropellantResource(100);
    THRUSTER_HANDLE vent = vessel.CreateThruster(_V(0, 0, 0), _V(0, 1, 0), 0, tank, 3000);  // no thrust: a stream's
    const UINT arm = vessel.CreateAnimation(0);
    vessel.AddMesh("pad");
    sim->step();
    sim->step();
    ASSERT_TRUE(v->restPending);
    for (int i = 0; i < 3; ++i) {
        vessel.SetThrusterLevel(vent, 0);  // a level above 0 is thrust asked for, which wakes it
        vessel.SetAnimation(arm, 0.25 * i);
        vessel.SetMeshVisibilityMode(0, MESHVIS_ALWAYS);
        EXPECT_EQ(vessel.GetThrusterLevel(vent), 0);
        EXPECT_TRUE(v->restPending) << "step " << i;
        sim->step();
    }
    VESSELSTATUS2 read = {};
    read.version = 2;
    vessel.GetStatusEx(&read);
    EXPECT_FALSE(v->restPending);
    EXPECT_EQ(read.status, 1);
    EXPECT_EQ(v->state.mjd, sim->mjd()) << "stood at the date the last step ended at";
}
