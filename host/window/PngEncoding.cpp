// PNG output of a picture. Dialog snapshots are taken during flights, so
// they are encoded for speed: every row with the "up" filter (a dialog is
// mostly flat areas and vertical edges, which it turns into runs of zeros)
// and zlib's fastest matching that still finds long runs (level 3). That is
// about a quarter of the work of trying every filter on every row at the
// default level, for a file about a third larger; the pixels are the same.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>

#include "Dialogs.h"

namespace host {

namespace {

constexpr int kCompressionLevel = 3;

struct Encoding {
    std::string bytes;
    char problem[128] = "";
};

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto& e = *static_cast<Encoding*>(png_get_io_ptr(png));
    bool appended = true;
    try {
        e.bytes.append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        appended = false;
    }
    if (!appended)  // jumped from here, not from inside the handler, which must end first
        png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

// libpng reports an error by a jump back to the setjmp below; what it says is
// kept for the exception.
[[noreturn]] void keepProblem(png_structp png, png_const_charp message) {
    auto& e = *static_cast<Encoding*>(png_get_error_ptr(png));
    std::snprintf(e.problem, sizeof e.problem, "%s", message);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// Only plain values live in this frame, so that the jump skips no destructor.
bool encodeRows(Encoding& e, const Surface& s) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &e, keepProblem, ignoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &e, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(s.width()), static_cast<png_uint_32>(s.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, kCompressionLevel);
    png_write_info(png, info);
    const png_byte* row = s.rgb().data();
    const size_t stride = static_cast<size_t>(s.width()) * 3;
    for (int y = 0; y < s.height(); ++y, row += stride)
        png_write_row(png, row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string encodePng(const Surface& s) {
    if (s.empty())
        throw std::runtime_error("nothing to write");
    Encoding e;
    e.bytes.reserve(static_cast<size_t>(s.width()) * s.height() / 8 + 1024);
    if (!encodeRows(e, s))
        throw std::runtime_error(std::string("cannot encode the picture: ") +
                                 (e.problem[0] ? e.problem : "out of memory"));
    return std::move(e.bytes);
}

}  // namespace host
