// Writes the Medium launcher's bitmaps as 24-bit BMP files below the folder
// given on the command line: the module's resources under tarvik/ (named by
// the resource script), the default custom payload pictures under
// images/tarvik/.
//
//   DrawLauncherArt OUTPUT_FOLDER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "LauncherArt.h"
#include "window/Bmp.h"

namespace {

using art::Launcher;
using art::Payload;
using art::Rgb;
using art::Surface;

struct Picture {
    const char* file;
    std::function<Surface()> draw;
};

const Rgb green{70, 240, 90}, amber{255, 180, 30}, red{255, 48, 40}, cyan{90, 200, 255}, gold{255, 214, 70};
const Rgb black{0, 0, 0};

Surface status(const char* words, Rgb ink) {
    return art::statusImage(words, ink, black);
}

const std::vector<Picture>& pictures() {
    static const std::vector<Picture> list = {
        {"tarvik/heading_on.bmp", [] { return art::headingStrip(true); }},
        {"tarvik/heading_off.bmp", [] { return art::headingStrip(false); }},
        {"tarvik/heading_pointer.bmp", art::headingOverlay},
        {"tarvik/pitch_tape.bmp", art::pitchTape},
        {"tarvik/pitch_marker.bmp", art::pitchMarker},
        {"tarvik/thrust_scale.bmp", art::thrustScale},
        {"tarvik/thrust_fill.bmp", art::thrustFill},
        {"tarvik/fuel_column.bmp", art::fuelColumn},
        {"tarvik/fuel_column_empty.bmp", art::fuelColumnEmpty},
        {"tarvik/status_complete.bmp", [] { return status("ORBIT COMPLETE", green); }},
        {"tarvik/status_plane_change.bmp", [] { return status("PLANE CHANGE", amber); }},
        {"tarvik/status_plane_done.bmp", [] { return status("PLANE CHG DONE", green); }},
        {"tarvik/status_inc_error_on.bmp", [] { return status("INC ERROR >0.2", red); }},
        {"tarvik/status_inc_error_off.bmp", [] { return art::statusImage("INC ERROR >0.2", black, red); }},
        {"tarvik/status_stage_sep.bmp", [] { return status("STAGE 1 SEP", cyan); }},
        {"tarvik/status_cutoff.bmp", [] { return status("ENGINE CUTOFF", gold); }},
        {"tarvik/launcher_m4.bmp", [] { return art::launcherPicture(Launcher::M4); }},
        {"tarvik/launcher_m42.bmp", [] { return art::launcherPicture(Launcher::M42); }},
        {"tarvik/launcher_m52.bmp", [] { return art::launcherPicture(Launcher::M52); }},
        {"tarvik/launcher_m54.bmp", [] { return art::launcherPicture(Launcher::M54); }},
        {"tarvik/launcher_heavy.bmp", [] { return art::launcherPicture(Launcher::Heavy); }},
        {"tarvik/launcher_heavy_plus.bmp", [] { return art::launcherPicture(Launcher::HeavyPlus); }},
        {"tarvik/payload_carina.bmp", [] { return art::payloadPicture(Payload::Carina); }},
        {"tarvik/payload_deltaglider.bmp", [] { return art::payloadPicture(Payload::DeltaGlider); }},
        {"tarvik/payload_ldef.bmp", [] { return art::payloadPicture(Payload::Ldef); }},
        {"tarvik/payload_shuttlepb.bmp", [] { return art::payloadPicture(Payload::ShuttlePB); }},
        {"tarvik/payload_mmu.bmp", [] { return art::payloadPicture(Payload::Mmu); }},
        {"tarvik/payload_mplm.bmp", [] { return art::payloadPicture(Payload::Mplm); }},
        {"tarvik/payload_sat1.bmp", [] { return art::payloadPicture(Payload::Sat1); }},
        {"tarvik/payload_sat2.bmp", [] { return art::payloadPicture(Payload::Sat2); }},
        {"tarvik/payload_sat3.bmp", [] { return art::payloadPicture(Payload::Sat3); }},
        {"images/tarvik/custom1.bmp", [] { return art::customPlaceholder(1); }},
        {"images/tarvik/custom2.bmp", [] { return art::customPlaceholder(2); }},
        {"images/tarvik/custom3.bmp", [] { return art::customPlaceholder(3); }},
    };
    return list;
}

bool write(const std::filesystem::path& path, const Surface& s) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    const std::vector<uint8_t> bytes = host::encodeBmp(s);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "DrawLauncherArt: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: DrawLauncherArt OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    for (const Picture& p : pictures())
        if (!write(folder / p.file, p.draw()))
            return 1;
    return 0;
}
