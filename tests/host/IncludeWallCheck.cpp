// Built with what a plug-in links (tarvik_host_api and tarvik_common): the
// interface headers must be reachable, the host's own headers must not.
#if __has_include("sim/Simulation.h") || __has_include("physics/Physics.h") || __has_include("window/Window.h")
#error "the host's own headers are visible to plug-in code"
#endif

#include "AttitudeThrusters.h"
#include "Orbitersdk.h"
