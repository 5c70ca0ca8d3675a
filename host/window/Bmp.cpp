#include "Bmp.h"

#include <cstdint>
#include <cstdlib>

#include "sim/FileIO.h"

namespace host {

namespace {

constexpr int maxSide = 16384;  // larger images are not pictures for a dialog
// The largest a dialog (at most 4096 x 4096) can show, in 32 bits, and its headers.
constexpr size_t maxBitmapBytes = size_t{4096} * 4096 * 4 + 4096;

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t u16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

std::optional<Surface> fail(std::string* problem, const char* why) {
    if (problem)
        *problem = why;
    return std::nullopt;
}

}  // namespace

std::optional<Surface> decodeBmp(const std::vector<uint8_t>& b, std::string* problem) {
    constexpr size_t fileHeader = 14;
    if (b.size() < fileHeader + 40 || b[0] != 'B' || b[1] != 'M')
        return fail(problem, "not a bitmap file");
    const uint32_t pixelOffset = u32(b, 10);
    const uint32_t infoSize = u32(b, 14);
    if (infoSize < 40 || fileHeader + infoSize > b.size())
        return fail(problem, "truncated bitmap header");
    const int32_t width = static_cast<int32_t>(u32(b, 18));
    const int32_t rawHeight = static_cast<int32_t>(u32(b, 22));
    const uint16_t bpp = u16(b, 28);
    const uint32_t compression = u32(b, 30);
    uint32_t paletteSize = u32(b, 46);

    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || width > maxSide || std::abs(rawHeight) > maxSide)
        return fail(problem, "bad bitmap size");
    if (compression != 0)
        return fail(problem, "compressed bitmaps are not supported");
    if (bpp != 8 && bpp != 24 && bpp != 32)
        return fail(problem, "only 8, 24 and 32 bits per pixel are supported");

    const bool topDown = rawHeight < 0;
    const int height = topDown ? -rawHeight : rawHeight;
    const size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    if (pixelOffset > b.size() || stride * height > b.size() - pixelOffset)
        return fail(problem, "truncated bitmap pixels");

    std::vector<Rgb> palette;
    if (bpp == 8) {
        if (paletteSize == 0 || paletteSize > 256)
            paletteSize = 256;
        size_t at = fileHeader + infoSize;
        for (uint32_t i = 0; i < paletteSize && at + 4 <= pixelOffset; ++i, at += 4)
            palette.push_back({b[at + 2], b[at + 1], b[at]});  // stored blue, green, red, reserved
        palette.resize(256);                                   // indices past the palette read as black
    }

    Surface s(width, height);
    for (int row = 0; row < height; ++row) {
        const uint8_t* p = &b[pixelOffset + stride * row];
        int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            if (bpp == 8) {
                s.setPixel(x, y, palette[p[x]]);
            } else {
                const uint8_t* px = p + x * (bpp / 8);
                s.setPixel(x, y, {px[2], px[1], px[0]});
            }
        }
    }
    return s;
}

// A picture is a regular file no larger than any a dialog can show: a
// custom payload's IMAGE may name anything (a device, a pipe).
std::optional<Surface> readBmp(const std::string& path, std::string* problem) {
    std::string content, why;
    if (!readInputFile(path, content, &why, maxBitmapBytes))
        return fail(problem, why.c_str());
    return decodeBmp(std::vector<uint8_t>(content.begin(), content.end()), problem);
}

std::vector<uint8_t> encodeBmp(const Surface& s) {
    const size_t stride = ((static_cast<size_t>(s.width()) * 24 + 31) / 32) * 4;
    const uint32_t pixelBytes = static_cast<uint32_t>(stride * s.height());
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + pixelBytes);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, static_cast<uint32_t>(s.width()));
    put32(b, static_cast<uint32_t>(s.height()));
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, pixelBytes);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = s.height() - 1; y >= 0; --y) {
        size_t rowStart = b.size();
        for (int x = 0; x < s.width(); ++x) {
            Rgb c = s.pixel(x, y);
            b.push_back(c.b);
            b.push_back(c.g);
            b.push_back(c.r);
        }
        b.resize(rowStart + stride, 0);
    }
    return b;
}

}  // namespace host
