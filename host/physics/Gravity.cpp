#include "Gravity.h"

#include "Earth.h"

namespace host::physics {

VECTOR3 gravityAt(const VECTOR3& pos) {
    const double r2 = dotp(pos, pos);
    if (r2 < 1.0)
        return _V(0, 0, 0);  // at the centre the pull has no direction
    const double r = std::sqrt(r2);
    return pos * (-kEarthMu / (r2 * r));
}

}  // namespace host::physics
