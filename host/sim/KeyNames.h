// Key names as a pilot (and a session script) writes them: "F", "J", "F1",
// "SPACE" ... and the codes the simulator delivers for them.
#pragma once

#include <string>

#include "OrbiterAPI.h"

namespace host {

// The key's name, or its code in hex ("0x5A") when it has none.
std::string keyName(DWORD key);

// The code of a key name in any letter case; false for an unknown name.
bool keyCode(const std::string& name, DWORD& key);

}  // namespace host
