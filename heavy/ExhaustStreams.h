// The particle streams of the heavy launcher's engines (contrails, exhaust,
// solid-booster smoke), as one table.
#pragma once

#include "Orbitersdk.h"

namespace heavy {

enum class Stream { P1, P2, P3, P4, P5, P6, P7, P8, P9, P10, P11, P12, P13 };

// The stream's parameters with the texture to draw it with.
PARTICLESTREAMSPEC streamSpec(Stream stream, SURFHANDLE texture);

// The texture a stream takes from the module's registered set.
SURFHANDLE moduleStreamTexture(Stream stream);

}  // namespace heavy
