// A 24-bit pixel surface: what a picture control shows and what a bitmap
// holds. Drawing is clipped to the surface (and to an optional rectangle).
//
// Drawing is recorded and turned into pixels only when something reads them
// (pixel(), rgb(), a blit from the surface): a plug-in that redraws a picture
// every frame costs next to nothing while nobody looks. An operation whose
// pixels a later one overwrites wholly is dropped, and the record is kept
// short; what a read sees is always exactly what drawing every operation at
// once would have given.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace host {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

enum class BlitOp { Copy, Or };

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, Rgb fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }

    Rgb pixel(int x, int y) const;  // black outside the surface
    void setPixel(int x, int y, Rgb c);
    void fill(Rect r, Rgb c);
    void frame(Rect r, Rgb c);  // one-pixel outline

    // Copies a w x h block of src at (sx, sy) to (dx, dy), combining with op;
    // the parts outside either surface are left out. This one draws at once.
    void blit(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, BlitOp op);
    // The same, recorded: the record keeps src, whose pixels must not change
    // any more (the window layer copies a shared bitmap before it draws on it).
    void blit(int dx, int dy, int w, int h, std::shared_ptr<const Surface> src, int sx, int sy, BlitOp op);

    // Text in the built-in font, top-left corner at (x, y). With a background
    // colour the character cells are filled first. Drawing stays inside clip.
    void text(int x, int y, std::string_view s, Rgb fg, const Rgb* bg, Rect clip);
    void text(int x, int y, std::string_view s, Rgb fg, const Rgb* bg) {
        text(x, y, s, fg, bg, Rect{0, 0, width_, height_});
    }

    const std::vector<uint8_t>& rgb() const;  // rows top to bottom, r g b per pixel

    // Drawing operations recorded and not yet turned into pixels.
    size_t recordedOperations() const;

    // Changes with every drawing on the surface and is never the same for two
    // different contents (a copy takes its source's): an observer that saw
    // this value has seen these pixels, without reading them.
    uint64_t contentStamp() const { return stamp_; }

private:
    // The longest text kept in a record; a longer one is drawn at once.
    static constexpr size_t kRecordedTextLength = 23;

    struct Operation {
        enum class Kind : uint8_t { Fill, Blit, Text, Dropped };
        Kind kind = Kind::Fill;
        bool opaque = false;  // sets every pixel of `area` whatever was there
        Rect area;            // the pixels it may change, inside the surface
        Rgb colour;           // fill colour, text ink
        // Blit: the block is `area`, from (sx, sy) of source.
        std::shared_ptr<const Surface> source;
        int sx = 0, sy = 0;
        BlitOp op = BlitOp::Copy;
        // Text
        int x = 0, y = 0;
        Rect clip;
        bool hasBackground = false;
        Rgb background;
        uint8_t length = 0;
        char chars[kRecordedTextLength] = {};
    };

    void record(Operation&& op);
    void dropCovered();
    void compact();     // the dropped operations out of the record
    void draw() const;  // the recorded operations into pixels
    void apply(const Operation& op) const;
    void fillNow(Rect r, Rgb c) const;
    void blitNow(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, BlitOp op) const;
    void textNow(int x, int y, std::string_view s, Rgb fg, const Rgb* bg, Rect clip) const;

    void drawn();  // a new content stamp

    int width_ = 0;
    int height_ = 0;
    uint64_t stamp_ = 0;
    // The pixels as of the last draw, and what was asked for since: together
    // they are the surface's contents, so reading draws (hence mutable).
    mutable std::vector<uint8_t> rgb_;
    mutable std::vector<Operation> recorded_;
    mutable size_t dropped_ = 0;  // of the recorded operations, marked dropped
};

}  // namespace host
