// The Medium launcher's bitmap resources, drawn by the build rather than
// kept as binaries: the instruments of the autopilot dialog and the pictures
// of the configuration dialog. Sizes are those the module draws them at.
#pragma once

#include <string_view>

#include "Drawing.h"

namespace art {

// Autopilot dialog instruments.
Surface headingStrip(bool onHeading);  // 1650 x 49; heading h centred at x = 4h + 74
Surface headingOverlay();              // 96 x 49, ORed over a strip window: the lubber line
Surface pitchTape();                   // 45 x 540, one row per degree; pitch p at row 269 - p
Surface pitchMarker();                 // 45 x 3; its top row marks the pitch
Surface thrustScale();                 // 45 x 180, the thrust column's background, top = 100 %
Surface thrustFill();                  // 45 x 180, ORed over the scale from the thrust level up
Surface fuelColumn();                  // 21 x 180, shown from the fuel level down
Surface fuelColumnEmpty();             // 21 x 180, the emptied part above the fuel level
// A 96 x 19 annunciator: the words centred on paper inside a thin frame.
Surface statusImage(std::string_view words, Rgb ink, Rgb paper);

// Configuration dialog pictures.
enum class Launcher { M4, M42, M52, M54, Heavy, HeavyPlus };
Surface launcherPicture(Launcher l);  // 49 x 168

enum class Payload { Carina, DeltaGlider, Ldef, ShuttlePB, Mmu, Mplm, Sat1, Sat2, Sat3 };
Surface payloadPicture(Payload p);    // 64 x 64
Surface customPlaceholder(int slot);  // 64 x 64, the picture of a custom payload without its own

}  // namespace art
