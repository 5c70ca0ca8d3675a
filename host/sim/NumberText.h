// Numbers as the host writes them into scenario and host files: the shortest
// text that reads back as the same double, so a saved file restores exactly.
#pragma once

#include <string>

#include "OrbiterAPI.h"

namespace host {

// Shortest decimal text that parses back to exactly `value` ("0.5", "6371010",
// "1e-07"); non-finite values are written as 0.
std::string numberText(double value);

// A vector as three such numbers separated by blanks.
std::string vectorText(const VECTOR3& v);

// An angle kept in radians, written in degrees (or degrees per second): the
// shortest degree text whose value times RAD gives back exactly `radians`
// when one exists, otherwise the closest degree value.
std::string degreesText(double radians);

// Strict number parsing: the whole token must be a finite number.
bool parseNumber(const std::string& text, double& value);
bool parseInteger(const std::string& text, long& value);

}  // namespace host
