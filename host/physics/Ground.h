// The ground: vessels standing on their touchdown points, fixed to the
// rotating Earth until the net force lifts them; ground contact; and flying
// vessels that come down, which come to rest where they hit.
//
// The touchdown points p0, p1, p2 give the upward normal
// (p0 - (p1 + p2)/2) x (p2 - p1) and a plane whose distance from the centre
// of mass is the height at which a landed vessel stands. Colinear points give
// no normal: the vessel then stands with +y up on its lowest point.
#pragma once

#include "../sim/VesselData.h"
#include "Propulsion.h"

namespace host::physics {

TouchdownGeometry touchdownGeometry(const ClassCaps& caps);
// The same for the vessel's own points, kept while they do not change.
const TouchdownGeometry& touchdownOf(const VesselData& v);

// Vessel-to-global rotation of a vessel standing at (lng, lat) with a heading,
// and the global position of its centre of mass.
void landedPose(const ClassCaps& caps, double lng, double lat, double heading, double mjd, VECTOR3& pos, MATRIX3& R);

// Stands the vessel on the ground (the state becomes landed).
void setLanded(VesselData& v, double lng, double lat, double heading, double mjd);

// A landed vessel over one step: it lifts off when thrust and gravity together
// pull it away from the ground faster than the ground itself accelerates,
// otherwise it stays exactly where it stands (as restOnGround puts it, the
// Earth turned to `rotation` at mjdEnd). Returns true on lift-off (the vessel
// is then free and still has the step to fly).
bool holdOnGround(VesselData& v, const PropulsionLoads& thrust, double mass, double mjdEnd, double rotation);

// A landed vessel that no thrust lifts over one step: it stays exactly where
// it stands (gravity holds it down whatever its mass), now at mjd when the
// Earth has turned to `rotation` (rotationAngle(mjd)). Its pose on the ground
// is solved once and kept while its touchdown points, its place and heading
// stay the same; the result is always what setLanded gives.
void restOnGround(VesselData& v, double mjd, double rotation);
// Such a rest is not worked out at once: the vessel stands where the step
// left it when this is called (by host::settled(), which every reader outside
// the step goes through); nothing changes when no rest is pending.
void settleRest(VesselData& v);

// Whether a free vessel's touchdown points reach the ground where it is.
bool touchesGround(const VesselData& v);

// After a free step: ground contact, and a vessel that hit the ground comes to
// rest there.
void touchGround(VesselData& v, double mjd);

}  // namespace host::physics
