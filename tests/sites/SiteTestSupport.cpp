#include "SiteTestSupport.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace sitetest {

namespace {

// clang-format off
const PadLayout west{"LC6",   "tarvik/sitewest", "-120.6256 34.6",    "90.00", {2, 3, 4, 5, 6}, 0, 1,  8, 9, -1, 55000.3, 55000.8};
const PadLayout east{"LC37B", "tarvik/siteeast", "-80.5680 28.53429", "30.00", {1, 2, 3, 4, 5}, 0, -1, 7, -1, 6, 55000.2, 55000.7};
// clang-format on

// Stands nose up (+z) on three feet 10 m below its centre of mass.
const char* const launcherClass = R"(; stand-in launcher for the pad tests
Mass = 10000
Size = 5
PMI = 10 10 2
CrossSections = 20 20 5
CW = 0.3 0.3 0.6 0.6
RotDrag = 0.1 0.1 0.1
TouchdownPoints = 0 -1 -10 -1 1 -10 1 1 -10
Propellant = 20000
)";

std::string shipBlock(const std::string& header, const PadLayout& pad) {
    return header + "\n  STATUS Landed Earth\n  POS " + pad.position + "\n  HEADING " + pad.heading + "\nEND\n";
}

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

}  // namespace

const PadLayout& layout(Pad pad) {
    return pad == Pad::West ? west : east;
}

PadWorld::PadWorld(Pad pad, std::vector<std::string> launchersOnPad, double mjd) : layout_(layout(pad)) {
    static int worlds = 0;
    const fs::path dir =
        fs::temp_directory_path() / ("tarvik-sites-" + std::to_string(getpid()) + "-" + std::to_string(worlds++));
    dataDir_ = dir.string();
    fs::create_directories(dir / "Config/tarvik");
    for (const char* cfg : {"sitewest.cfg", "siteeast.cfg"})
        fs::copy_file(fs::path(TARVIK_DATA_DIR) / "Config/tarvik" / cfg, dir / "Config/tarvik" / cfg,
                      fs::copy_options::overwrite_existing);
    writeFile(dir / "Config/test/launcher.cfg", launcherClass);

    std::string ships = shipBlock(std::string(layout_.name) + ":" + layout_.classKey, layout_);
    for (const std::string& name : launchersOnPad)
        ships += shipBlock(name + ":test/launcher", layout_);
    const std::string scenario = "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD " +
                                 std::to_string(mjd > 0 ? mjd : layout_.dayMjd) + "\nEND_ENVIRONMENT\n\nBEGIN_SHIPS\n" +
                                 ships + "END_SHIPS\n";
    writeFile(dir / "Scenarios/pad.scn", scenario);

    sim_ = std::make_unique<host::Simulation>(dataDir_);
    sim_->loadScenario((dir / "Scenarios/pad.scn").string());
    if (mjd > 0)
        sim_->setMjd(mjd);  // exactly, not as printed in the file
}

PadWorld::~PadWorld() {
    sim_.reset();
    std::error_code ignored;
    fs::remove_all(dataDir_, ignored);
}

host::VesselData& PadWorld::site() {
    return vessel(layout_.name);
}

host::VesselData& PadWorld::vessel(const std::string& name) {
    host::VesselData* v = sim_->vessel(name);
    if (!v)
        throw std::runtime_error("no vessel " + name);
    return *v;
}

double PadWorld::level(int thruster) {
    return thruster < 0 ? 0 : site().thrusters.at(thruster)->level;
}

std::vector<double> PadWorld::vents() {
    std::vector<double> levels;
    for (int i : layout_.vents)
        levels.push_back(level(i));
    return levels;
}

double PadWorld::animation(int index) {
    return site().animations.at(index).state;
}

void PadWorld::steps(int n) {
    for (int i = 0; i < n; ++i)
        sim_->step();
}

void PadWorld::focusRequest() {
    oapiSetFocusObject(&site());
}

std::string PadWorld::focusName() {
    return sim_->focus() ? sim_->focus()->name : std::string();
}

host::VesselData& PadWorld::addLauncher(const std::string& name, const VECTOR3& offset) {
    VESSELSTATUS2 status{};
    status.version = 2;
    host::physics::fillStatus(site(), status, sim_->mjd());
    status.status = 0;
    status.rpos += offset;
    return *sim_->createVessel(name, "test/launcher", status);
}

host::VesselData& PadWorld::standOnPad(const std::string& name) {
    VESSELSTATUS2 status{};
    status.version = 2;
    host::physics::fillStatus(site(), status, sim_->mjd());
    return *sim_->createVessel(name, "test/launcher", status);
}

void PadWorld::holdAt(host::VesselData& v, const VECTOR3& offsetFromPad) {
    VESSELSTATUS2 status{};
    status.version = 2;
    host::physics::fillStatus(site(), status, sim_->mjd());
    status.status = 0;
    status.rpos += offsetFromPad;
    host::physics::applyStatus(v, status, sim_->mjd());
}

void PadWorld::placeAtAltitude(host::VesselData& v, double altitude) {
    // The air turns with the Earth about the global y axis: take its rate from
    // the landed pad, which moves with it, and move the vessel along with the air.
    VESSELSTATUS2 pad{};
    pad.version = 2;
    host::physics::fillStatus(site(), pad, sim_->mjd());
    const double rate = pad.rvel.x / pad.rpos.z;
    const double r = sim_->earth()->radius + altitude;
    VESSELSTATUS2 status = pad;
    status.status = 0;
    status.rpos = _V(0, 0, r);
    status.rvel = _V(rate * r, 0, 0);
    host::physics::applyStatus(v, status, sim_->mjd());
}

void PadWorld::addMainEngine(host::VesselData& v, double thrustToWeight) {
    VESSEL& vessel = *v.iface;
    THRUSTER_HANDLE engine = vessel.CreateThruster(_V(0, 0, -10), _V(0, 0, 1), thrustToWeight * vessel.GetMass() * 9.81,
                                                   vessel.GetPropellantHandleByIndex(0), 30000);
    vessel.CreateThrusterGroup(&engine, 1, THGROUP_MAIN);
}

}  // namespace sitetest
