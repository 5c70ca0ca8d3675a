// Reading Windows bitmap files: uncompressed 8-bit (palette), 24-bit and
// 32-bit images, bottom-up or top-down.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Surface.h"

namespace host {

// The image in the file, or nothing when the file is missing or is not a
// bitmap this reader understands (why goes to *problem when given).
std::optional<Surface> readBmp(const std::string& path, std::string* problem = nullptr);
std::optional<Surface> decodeBmp(const std::vector<uint8_t>& bytes, std::string* problem = nullptr);

// A 24-bit bottom-up file of the surface, as the paint programs write it.
std::vector<uint8_t> encodeBmp(const Surface& s);

}  // namespace host
