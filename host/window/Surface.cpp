#include "Surface.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "Font.h"

namespace host {

namespace {

// Recorded operations a surface keeps at most; one more draws them first.
constexpr size_t kMaxRecorded = 32;
// Pieces a coverage test may cut a rectangle into before it gives up (and
// keeps the operation, which is always right).
constexpr int kCoverageBudget = 32;

bool isEmpty(const Rect& r) {
    return r.w <= 0 || r.h <= 0;
}

Rect intersection(const Rect& a, const Rect& b) {
    const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

bool contains(const Rect& outer, const Rect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y + inner.h <= outer.y + outer.h;
}

// Trims a block so that it lies inside both surfaces; false when nothing is
// left. Worked in 64 bits: a module may pass any coordinates.
bool trimBlock(int& dx, int& dy, int& w, int& h, int& sx, int& sy, int srcWidth, int srcHeight, int width, int height) {
    long long x = dx, y = dy, bw = w, bh = h, fromX = sx, fromY = sy;
    if (fromX < 0) {
        x -= fromX;
        bw += fromX;
        fromX = 0;
    }
    if (fromY < 0) {
        y -= fromY;
        bh += fromY;
        fromY = 0;
    }
    if (x < 0) {
        fromX -= x;
        bw += x;
        x = 0;
    }
    if (y < 0) {
        fromY -= y;
        bh += y;
        y = 0;
    }
    bw = std::min({bw, srcWidth - fromX, width - x});
    bh = std::min({bh, srcHeight - fromY, height - y});
    if (bw <= 0 || bh <= 0)
        return false;
    dx = static_cast<int>(x), dy = static_cast<int>(y), w = static_cast<int>(bw), h = static_cast<int>(bh);
    sx = static_cast<int>(fromX), sy = static_cast<int>(fromY);
    return true;
}

// d |= s over n bytes, eight at a time.
void orBytes(uint8_t* d, const uint8_t* s, size_t n) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t a, b;
        std::memcpy(&a, d + i, 8);
        std::memcpy(&b, s + i, 8);
        a |= b;
        std::memcpy(d + i, &a, 8);
    }
    for (; i < n; ++i)
        d[i] |= s[i];
}

}  // namespace

void Surface::drawn() {
    // One count for all surfaces, so that no two contents share a stamp.
    static std::atomic<uint64_t> drawings{0};
    stamp_ = ++drawings;
}

Surface::Surface(int width, int height, Rgb fill) : width_(std::max(0, width)), height_(std::max(0, height)) {
    drawn();
    rgb_.resize(static_cast<size_t>(width_) * height_ * 3);
    for (size_t i = 0; i < rgb_.size(); i += 3) {
        rgb_[i] = fill.r;
        rgb_[i + 1] = fill.g;
        rgb_[i + 2] = fill.b;
    }
}

Rgb Surface::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    draw();
    const uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
    return {p[0], p[1], p[2]};
}

void Surface::setPixel(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    draw();
    drawn();
    uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

const std::vector<uint8_t>& Surface::rgb() const {
    draw();
    return rgb_;
}

void Surface::fill(Rect r, Rgb c) {
    Operation op;
    op.kind = Operation::Kind::Fill;
    op.opaque = true;
    op.area = intersection(r, {0, 0, width_, height_});
    op.colour = c;
    if (!isEmpty(op.area))
        record(std::move(op));
}

void Surface::frame(Rect r, Rgb c) {
    if (r.w <= 0 || r.h <= 0)
        return;
    fill({r.x, r.y, r.w, 1}, c);
    fill({r.x, r.y + r.h - 1, r.w, 1}, c);
    fill({r.x, r.y, 1, r.h}, c);
    fill({r.x + r.w - 1, r.y, 1, r.h}, c);
}

void Surface::blit(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, BlitOp op) {
    src.draw();
    draw();
    drawn();
    blitNow(dx, dy, w, h, src, sx, sy, op);
}

void Surface::blit(int dx, int dy, int w, int h, std::shared_ptr<const Surface> src, int sx, int sy, BlitOp op) {
    if (!src)
        return;
    if (src.get() == this) {  // within itself: the rows move at once
        blit(dx, dy, w, h, *src, sx, sy, op);
        return;
    }
    if (!trimBlock(dx, dy, w, h, sx, sy, src->width_, src->height_, width_, height_))
        return;
    Operation entry;
    entry.kind = Operation::Kind::Blit;
    entry.opaque = op == BlitOp::Copy;
    entry.area = {dx, dy, w, h};
    entry.source = std::move(src);
    entry.sx = sx;
    entry.sy = sy;
    entry.op = op;
    record(std::move(entry));
}

void Surface::text(int x, int y, std::string_view s, Rgb fg, const Rgb* bg, Rect clip) {
    if (s.size() > kRecordedTextLength) {
        draw();
        drawn();
        textNow(x, y, s, fg, bg, clip);
        return;
    }
    Operation op;
    op.kind = Operation::Kind::Text;
    op.opaque = bg != nullptr;  // every pixel of a cell is ink or background
    const Rect cells{x, y, static_cast<int>(s.size()) * font::cellWidth, font::cellHeight};
    op.area = intersection(intersection(cells, clip), {0, 0, width_, height_});
    if (isEmpty(op.area))
        return;
    op.colour = fg;
    op.x = x;
    op.y = y;
    op.clip = clip;
    op.hasBackground = bg != nullptr;
    if (bg)
        op.background = *bg;
    op.length = static_cast<uint8_t>(s.size());
    std::memcpy(op.chars, s.data(), s.size());
    record(std::move(op));
}

// ---------------------------------------------------------------- the record

void Surface::record(Operation&& op) {
    drawn();
    const bool coversAll = op.opaque && contains(op.area, {0, 0, width_, height_});
    if (coversAll) {
        recorded_.clear();  // nothing recorded before it can show
        dropped_ = 0;
    } else if (recorded_.size() >= kMaxRecorded) {
        compact();
        if (recorded_.size() >= kMaxRecorded)
            draw();
    }
    recorded_.push_back(std::move(op));
    if (recorded_.back().opaque && recorded_.size() > 1)
        dropCovered();
    if (dropped_ > 4 && 2 * dropped_ >= recorded_.size())
        compact();  // no more marked than kept: the record stays short to look through
}

size_t Surface::recordedOperations() const {
    size_t n = 0;
    for (const Operation& op : recorded_)
        n += op.kind != Operation::Kind::Dropped;
    return n;
}

namespace {

bool overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// Whether the opaque operations among later[0..count) together set every
// pixel of r: r is cut by each one it meets into the parts left over.
template <class Operation>
bool covered(const Rect& r, const Operation* later, size_t count, int& budget) {
    for (size_t k = 0; k < count; ++k) {
        const Rect& a = later[k].area;
        if (!later[k].opaque || !overlap(r, a))
            continue;
        if (contains(a, r))
            return true;
        if (--budget < 0)
            return false;
        // What is left of r: the bands above and below a, then left and right of it.
        const int top = std::max(r.y, a.y), bottom = std::min(r.y + r.h, a.y + a.h);
        Rect left[4];
        int pieces = 0;
        if (a.y > r.y)
            left[pieces++] = {r.x, r.y, r.w, a.y - r.y};
        if (a.y + a.h < r.y + r.h)
            left[pieces++] = {r.x, a.y + a.h, r.w, r.y + r.h - (a.y + a.h)};
        if (a.x > r.x)
            left[pieces++] = {r.x, top, a.x - r.x, bottom - top};
        if (a.x + a.w < r.x + r.w)
            left[pieces++] = {a.x + a.w, top, r.x + r.w - (a.x + a.w), bottom - top};
        for (int i = 0; i < pieces; ++i)
            if (!covered(left[i], later + k + 1, count - k - 1, budget))
                return false;
        return true;
    }
    return false;
}

Rect bounds(const Rect& a, const Rect& b) {
    if (isEmpty(a))
        return b;
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    return {x0, y0, std::max(a.x + a.w, b.x + b.w) - x0, std::max(a.y + a.h, b.y + b.h) - y0};
}

}  // namespace

// Each pixel an operation changes depends on that pixel alone (a blit within
// the surface itself is never recorded), so an operation whose area later
// opaque operations set wholly can go, whatever lies between. Only the newest
// operation can have made one covered, and only one it overlaps. A dropped
// operation stays in the record, marked, until the record is compacted.
void Surface::dropCovered() {
    const size_t n = recorded_.size();
    const Rect newest = recorded_.back().area;
    Rect laterBounds = newest;  // of the opaque operations after the one looked at
    for (size_t i = n - 1; i-- > 0;) {
        Operation& op = recorded_[i];
        if (op.kind == Operation::Kind::Dropped)
            continue;
        const Rect area = op.area;
        if (overlap(area, newest) && contains(laterBounds, area)) {
            int budget = kCoverageBudget;
            if (contains(newest, area) || covered(area, &recorded_[i + 1], n - i - 1, budget)) {
                op.kind = Operation::Kind::Dropped;
                op.opaque = false;
                op.area = {};
                op.source.reset();
                ++dropped_;
                continue;
            }
        }
        if (op.opaque)
            laterBounds = bounds(laterBounds, area);
    }
}

void Surface::compact() {
    std::erase_if(recorded_, [](const Operation& op) { return op.kind == Operation::Kind::Dropped; });
    dropped_ = 0;
}

void Surface::draw() const {
    if (recorded_.empty())
        return;
    for (const Operation& op : recorded_)
        apply(op);
    recorded_.clear();
    dropped_ = 0;
}

void Surface::apply(const Operation& op) const {
    switch (op.kind) {
        case Operation::Kind::Fill:
            fillNow(op.area, op.colour);
            break;
        case Operation::Kind::Blit:
            op.source->draw();
            blitNow(op.area.x, op.area.y, op.area.w, op.area.h, *op.source, op.sx, op.sy, op.op);
            break;
        case Operation::Kind::Text:
            textNow(op.x, op.y, std::string_view(op.chars, op.length), op.colour,
                    op.hasBackground ? &op.background : nullptr, op.clip);
            break;
        case Operation::Kind::Dropped:
            break;
    }
}

// ---------------------------------------------------------------- pixels

void Surface::fillNow(Rect r, Rgb c) const {
    const int x0 = std::max(r.x, 0), y0 = std::max(r.y, 0);
    const int x1 = std::min(r.x + r.w, width_), y1 = std::min(r.y + r.h, height_);
    for (int y = y0; y < y1; ++y) {
        uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x0) * 3];
        for (int x = x0; x < x1; ++x, p += 3) {
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
}

void Surface::blitNow(int dx, int dy, int w, int h, const Surface& src, int sx, int sy, BlitOp op) const {
    if (!trimBlock(dx, dy, w, h, sx, sy, src.width_, src.height_, width_, height_))
        return;
    const bool sameSurface = &src == this;
    // Whole rows of both surfaces follow each other in memory: one run.
    if (!sameSurface && w == width_ && w == src.width_) {
        const size_t n = static_cast<size_t>(w) * h * 3;
        const uint8_t* s = &src.rgb_[static_cast<size_t>(sy) * src.width_ * 3];
        uint8_t* d = &rgb_[static_cast<size_t>(dy) * width_ * 3];
        if (op == BlitOp::Copy)
            std::memcpy(d, s, n);
        else
            orBytes(d, s, n);
        return;
    }
    // Source and destination may be the same surface: copy the rows through
    // a buffer when the block overlaps itself.
    std::vector<uint8_t> rowBuffer;
    for (int row = 0; row < h; ++row) {
        int srcRow = (sameSurface && dy > sy) ? h - 1 - row : row;  // bottom-up when moving down
        const uint8_t* s = &src.rgb_[((static_cast<size_t>(sy) + srcRow) * src.width_ + sx) * 3];
        uint8_t* d = &rgb_[((static_cast<size_t>(dy) + srcRow) * width_ + dx) * 3];
        size_t n = static_cast<size_t>(w) * 3;
        if (sameSurface) {
            rowBuffer.assign(s, s + n);
            s = rowBuffer.data();
        }
        if (op == BlitOp::Copy)
            std::memcpy(d, s, n);
        else
            orBytes(d, s, n);
    }
}

void Surface::textNow(int x, int y, std::string_view s, Rgb fg, const Rgb* bg, Rect clip) const {
    const int cx0 = std::max(clip.x, 0), cy0 = std::max(clip.y, 0);
    const int cx1 = std::min(clip.x + clip.w, width_), cy1 = std::min(clip.y + clip.h, height_);
    auto put = [&](int px, int py, Rgb c) {
        if (px >= cx0 && px < cx1 && py >= cy0 && py < cy1) {
            uint8_t* p = &rgb_[(static_cast<size_t>(py) * width_ + px) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    };
    for (size_t i = 0; i < s.size(); ++i) {
        int left = x + static_cast<int>(i) * font::cellWidth;
        if (left >= cx1)
            break;
        for (int row = 0; row < font::cellHeight; ++row)
            for (int col = 0; col < font::cellWidth; ++col) {
                if (font::dot(s[i], col, row))
                    put(left + col, y + row, fg);
                else if (bg)
                    put(left + col, y + row, *bg);
            }
    }
}

}  // namespace host
