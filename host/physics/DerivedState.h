// Values derived from a vessel's state that are asked for several times a
// step (the guidance, the display and the state record all want the heading,
// the orbit, the orientation angles): each is derived once and kept in the
// vessel's record with the state it came from, and answers every question
// until that state changes. A kept value is bit for bit the derived one.
#pragma once

#include "../sim/VesselData.h"
#include "Earth.h"
#include "Orbit.h"

namespace host::physics {

double headingNow(const VesselData& v);                        // headingOf(R, pos)
double pitchNow(const VesselData& v);                          // pitchOf(R, pos)
VECTOR3 arotNow(const VesselData& v);                          // arotFromRotation(R)
EquatorialPosition placeNow(const VesselData& v, double mjd);  // equatorialPosition(pos, mjd)

// orbitOf the state at its date mjd, in the equatorial or the ecliptic frame,
// with the mean longitude for mjdRef.
Orbit orbitNow(const VesselData& v, double mjd, double mjdRef, bool ecliptic);

}  // namespace host::physics
