// Loading vessel classes: modules with their entry points and module-wide
// state, passive classes from their files, and clear errors for the rest.
#include <algorithm>

#include "HostTestSupport.h"
#include "Orbitersdk.h"
#include "sim/Module.h"

using namespace hosttest;

namespace {

std::string screenText(const host::Simulation& sim, const host::VesselData* v) {
    for (const auto& a : sim.annotations())
        if (a->owner == v)
            return a->text;
    return "<none>";
}

}  // namespace

class PluginLoading : public HostTest {};

TEST_F(PluginLoading, ModuleIsLoadedInitialisedAndBuildsItsVessel) {
    host::VesselData* v = sim->createVessel("P1", "probe/probeA", orbiting());
    ASSERT_NE(v->module, nullptr);
    EXPECT_EQ(v->module->name(), "ProbeA");
    EXPECT_EQ(host::moduleFromInstance(v->module->instance()), v->module);
    EXPECT_EQ(screenText(*sim, v), "probe 1 initialised");  // InitModule ran before the first vessel
    EXPECT_DOUBLE_EQ(v->caps.emptyMass, 1200);              // the module read its own item from the class file
    EXPECT_DOUBLE_EQ(v->caps.size, 3);                      // generic key, applied before clbkSetClassCaps
    const auto& textures = sim->registeredTextures();
    EXPECT_NE(std::find(textures.begin(), textures.end(), "probe/flame"), textures.end());
    ASSERT_EQ(v->exhausts.size(), 1u);
    EXPECT_EQ(v->exhausts[0].texture, "probe/flame");
}

TEST_F(PluginLoading, TwoLibrariesBuiltFromOneSourceKeepTheirOwnModuleState) {
    host::VesselData* a1 = sim->createVessel("A1", "probe/probeA", orbiting());
    host::VesselData* a2 = sim->createVessel("A2", "probe/probeA", orbiting());
    host::VesselData* b1 = sim->createVessel("B1", "probe/probeB", orbiting());
    EXPECT_EQ(a1->module, a2->module);  // one library per module and simulation
    EXPECT_NE(a1->module, b1->module);
    EXPECT_EQ(screenText(*sim, a1), "probe 1 initialised");
    EXPECT_EQ(screenText(*sim, a2), "probe 2 initialised");
    EXPECT_EQ(screenText(*sim, b1), "probe 1 initialised");
}

TEST_F(PluginLoading, EverySimulationStartsFromTheModulesDefaults) {
    sim->createVessel("A1", "probe/probeA", orbiting());
    sim->createVessel("A2", "probe/probeA", orbiting());
    sim.reset();  // deletes the vessels, calls ExitModule and unloads
    EXPECT_EQ(readFile("ProbeA-exit"), "VESSELS = 2\n");

    sim = newSimulation();
    host::VesselData* v = sim->createVessel("A3", "probe/probeA", orbiting());
    EXPECT_EQ(screenText(*sim, v), "probe 1 initialised") << "the library was not really unloaded";
}

TEST_F(PluginLoading, PassiveClassTakesItsCapabilitiesFromTheFile) {
    host::VesselData* v = sim->createVessel("Part", "probe/passive", orbiting());
    EXPECT_EQ(v->module, nullptr);
    ASSERT_NE(v->iface, nullptr);
    EXPECT_DOUBLE_EQ(v->caps.emptyMass, 250);
    EXPECT_DOUBLE_EQ(v->caps.size, 1.5);
    EXPECT_DOUBLE_EQ(v->pmi().y, 2);
    EXPECT_DOUBLE_EQ(v->caps.crossSections.z, 6);
    EXPECT_DOUBLE_EQ(v->caps.cw[3], 0.4);
    EXPECT_DOUBLE_EQ(v->caps.rotDrag.x, 0.5);
    EXPECT_DOUBLE_EQ(v->caps.touchdown[1].x, -1);
    EXPECT_DOUBLE_EQ(v->mass(), 290);  // 40 kg of propellant, full
    ASSERT_EQ(v->meshes.size(), 1u);
    EXPECT_EQ(v->meshes[0].name, "probe/part");
}

TEST_F(PluginLoading, UnusableClassesAreInputErrorsNamingTheClass) {
    for (const char* cls : {"probe/missingmodule", "probe/nosuchclass", "probe/noentry", "probe/badnumber",
                            "../probe/passive", "probe/zeromass", "probe/negativesize"}) {
        try {
            sim->createVessel("X", cls, orbiting());
            ADD_FAILURE() << cls << " was accepted";
        } catch (const host::InputError& e) {
            EXPECT_NE(std::string(e.what()).find(cls), std::string::npos) << e.what();
        }
        EXPECT_EQ(sim->vessel("X"), nullptr) << cls;
    }
    for (const char* cls : {"probe/badnumber", "probe/negativesize"}) {
        try {
            sim->createVessel("X", cls, orbiting());
        } catch (const host::InputError& e) {
            EXPECT_EQ(e.line, 2) << e.what();
            EXPECT_NE(e.file.find(std::string(cls).substr(6) + ".cfg"), std::string::npos) << e.file;
        }
    }
}

TEST_F(PluginLoading, ClassNamesIgnoreLetterCaseAndBackslashes) {
    EXPECT_EQ(sim->createVessel("X", "Probe\\Passive", orbiting())->caps.emptyMass, 250);
}

TEST_F(PluginLoading, ModuleCreatingAnUnusableVesselGetsNullAndTheLogAndTheWarningsSayWhy) {
    std::vector<std::string> warnings;
    sim->setWarningHandler([&](const std::string& w) { warnings.push_back(w); });
    VESSELSTATUS2 vs = orbiting();
    EXPECT_EQ(oapiCreateVesselEx("X", "probe/nosuchclass", &vs), nullptr);
    ASSERT_FALSE(sim->events().empty());
    EXPECT_NE(sim->events().back().what.find("could not create X"), std::string::npos);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("could not create X (probe/nosuchclass)"), std::string::npos) << warnings[0];

    // A name a scenario could not hold back is refused too.
    EXPECT_EQ(oapiCreateVesselEx("Two words", "probe/passive", &vs), nullptr);
    EXPECT_EQ(oapiCreateVesselEx("Caf\xe9", "probe/passive", &vs), nullptr);
    EXPECT_EQ(warnings.size(), 3u);
}

TEST_F(PluginLoading, PartsGivenATakenNameStillBecomeVesselsUnderTheNextFreeName) {
    VESSELSTATUS2 vs = orbiting();
    sim->createVessel("Booster", "probe/passive", vs);
    OBJHANDLE second = oapiCreateVesselEx("Booster", "probe/passive", &vs);
    OBJHANDLE third = oapiCreateVesselEx("Booster", "probe/passive", &vs);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(oapiGetVesselCount(), 3u);
    EXPECT_EQ(static_cast<host::VesselData*>(second)->name, "Booster-2");
    EXPECT_EQ(static_cast<host::VesselData*>(third)->name, "Booster-3");
    EXPECT_EQ(sim->vessel("Booster-3"), static_cast<host::VesselData*>(third));
}
