// Whether a flight after cut-off can still complete: the velocity the
// autopilot still has to add to raise the periapsis to the target, against
// what the propellant left can give, and against what its burns near each
// apoapsis can give before the time limit. Both are bounds that favour the
// flight (the cheapest manoeuvre, the whole propellant at vacuum specific
// impulse, the longest burn seen so far with room to spare), so a flight
// they end could not have completed.
#pragma once

namespace tarviksim {

// Velocity to raise the periapsis to `target` on an orbit with apsides at
// radii `apoapsis` and `periapsis` [m], burning at the apoapsis (first at the
// periapsis when the apoapsis is below the target) [m/s]; 0 when the
// periapsis is already there.
double periapsisRaise(double mu, double apoapsis, double periapsis, double target);

// What `propellant` can give a vessel of `mass` at specific impulse `isp` [m/s].
double deltaVLeft(double isp, double mass, double propellant);

// The most the engine can give in `passes` burns of at most `burn` seconds
// each, with thrust `thrust` [N] and flow `flow` [kg/s] from a vessel of
// `mass` holding `propellant` [m/s].
double deltaVInPasses(int passes, double burn, double thrust, double flow, double mass, double propellant);

// Apoapsis passages left before `timeLeft` runs out on an orbit of period
// `period`, the next one `toApoapsis` away.
int passesLeft(double timeLeft, double toApoapsis, double period);

}  // namespace tarviksim
