#include "Orbit.h"

#include <cmath>
#include <limits>

#include "Earth.h"
#include "TurnRemainder.h"

namespace host::physics {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

double wrap(double a) {  // into [0, 2pi)
    a = turnRemainder(a);
    if (a < 0)
        a += PI2;
    return a >= PI2 ? 0 : a;
}

// The global frame is left-handed; the textbook formulas below are written for
// a right-handed one with z north, which is the same space with y and z swapped.
VECTOR3 rightHanded(const VECTOR3& v) {
    return _V(v.x, v.z, v.y);
}

// Signed angle from a to b in the plane with normal n.
double angleBetween(const VECTOR3& a, const VECTOR3& b, const VECTOR3& n) {
    return std::atan2(dotp(n, crossp(a, b)), dotp(a, b));
}

}  // namespace

VECTOR3 equatorialToEcliptic(const VECTOR3& v) {
    const double c = std::cos(kObliquity), s = std::sin(kObliquity);
    return _V(v.x, v.y * c - v.z * s, v.z * c + v.y * s);
}

VECTOR3 orbitNormal(const VECTOR3& pos, const VECTOR3& vel) {
    const VECTOR3 h = crossp(vel, pos);  // r x v written for the left-handed frame
    const double l = length(h);
    return l > 0 ? h / l : _V(0, 1, 0);
}

Orbit orbitOf(const VECTOR3& position, const VECTOR3& velocity, double mjd, double mjdRef) {
    const double mu = kEarthMu;
    const VECTOR3 r = rightHanded(position), v = rightHanded(velocity);
    const double rl = length(r);
    const VECTOR3 h = crossp(r, v);
    const double hl = length(h);
    const VECTOR3 hn = hl > 0 ? h / hl : _V(0, 0, 1);
    const VECTOR3 evec = (r * (dotp(v, v) - mu / rl) - v * dotp(r, v)) / mu;
    const double e = length(evec);
    const double alpha = 2 / rl - dotp(v, v) / mu;  // 1 / a
    const double p = hl * hl / mu;                  // semi-latus rectum

    Orbit o;
    ELEMENTS& el = o.el;
    ORBITPARAM& prm = o.prm;
    el.e = e;
    el.a = alpha != 0 ? 1 / alpha : kInfinity;
    el.i = std::acos(std::fmax(-1.0, std::fmin(1.0, hn.z)));

    // Ascending node; an equatorial orbit measures from the x axis.
    const VECTOR3 node = _V(-h.y, h.x, 0);
    const double nodeLength = length(node);
    const bool equatorial = nodeLength <= 1e-12 * hl || hl == 0;
    const VECTOR3 nodeDir = equatorial ? _V(1, 0, 0) : node / nodeLength;
    el.theta = equatorial ? 0 : wrap(std::atan2(node.y, node.x));

    const double argLatitude = angleBetween(nodeDir, r, hn);
    const double argPeriapsis = e > 1e-12 ? angleBetween(nodeDir, evec, hn) : 0;
    const double trueAnomaly = wrap(argLatitude - argPeriapsis);
    el.omegab = wrap(el.theta + argPeriapsis);

    prm.PeD = p / (1 + e);
    prm.TrA = trueAnomaly;
    prm.TrL = wrap(el.theta + argLatitude);
    prm.Lec = std::isfinite(el.a) ? std::fabs(el.a) * e : kInfinity;

    double meanAnomaly = 0, meanMotion = 0;
    if (alpha > 0 && e < 1) {
        const double ecc = std::atan2(std::sqrt(1 - e * e) * std::sin(trueAnomaly), e + std::cos(trueAnomaly));
        prm.EcA = wrap(ecc);
        meanAnomaly = wrap(prm.EcA - e * std::sin(prm.EcA));
        meanMotion = std::sqrt(mu * alpha * alpha * alpha);
        prm.SMi = el.a * std::sqrt(1 - e * e);
        prm.ApD = p / (1 - e);
        prm.T = PI2 / meanMotion;
        prm.PeT = (PI2 - meanAnomaly) / meanMotion;
        prm.ApT = (meanAnomaly < PI ? PI - meanAnomaly : 3 * PI - meanAnomaly) / meanMotion;
    } else {
        prm.ApD = prm.T = prm.ApT = kInfinity;
        if (alpha < 0 && e > 1) {
            double nu = argLatitude - argPeriapsis;
            nu = std::atan2(std::sin(nu), std::cos(nu));
            const double hyp = 2 * std::atanh(std::sqrt((e - 1) / (e + 1)) * std::tan(nu / 2));
            prm.EcA = hyp;
            meanAnomaly = e * std::sinh(hyp) - hyp;
            meanMotion = std::sqrt(-mu * alpha * alpha * alpha);
            prm.SMi = -el.a * std::sqrt(e * e - 1);
            prm.PeT = -meanAnomaly / meanMotion;
        }
    }
    prm.MnA = meanAnomaly;
    prm.MnL = wrap(el.omegab + meanAnomaly);
    o.mjd = mjd;
    o.meanMotion = meanMotion;
    el.L = meanLongitudeAt(o, mjdRef);
    return o;
}

double meanLongitudeAt(const Orbit& o, double mjdRef) {
    return wrap(o.prm.MnL + o.meanMotion * (mjdRef - o.mjd) * 86400.0);
}

}  // namespace host::physics
