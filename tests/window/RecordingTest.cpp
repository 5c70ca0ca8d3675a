// Drawing on demand: a surface keeps what it is asked to draw and turns it
// into pixels when they are read. Whatever it keeps or drops, a read shows
// exactly what drawing every operation at once gives.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "Orbitersdk.h"
#include "window/Surface.h"
#include "window/Window.h"

using namespace host;

namespace {

constexpr Rgb red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0}, black{0, 0, 0};

std::shared_ptr<const Surface> plain(int w, int h, Rgb c) {
    return std::make_shared<const Surface>(w, h, c);
}

}  // namespace

TEST(Recording, AnOperationOthersOverwriteWhollyIsDropped) {
    Surface s(20, 10, black);
    s.fill({2, 2, 3, 3}, red);
    EXPECT_EQ(s.recordedOperations(), 1u) << "drawing waits for a read";

    s.blit(0, 0, 6, 6, plain(8, 8, blue), 0, 0, BlitOp::Copy);  // covers the fill
    EXPECT_EQ(s.recordedOperations(), 1u);

    // Covered by two later ones together, with an OR between them that reads it.
    s.fill({14, 0, 4, 4}, red);
    s.blit(14, 0, 4, 4, plain(4, 4, green), 0, 0, BlitOp::Or);
    s.fill({14, 0, 2, 4}, blue);
    EXPECT_EQ(s.recordedOperations(), 4u);
    s.fill({16, 0, 2, 4}, green);
    EXPECT_EQ(s.recordedOperations(), 3u) << "the red fill and the OR under it go";

    // Text without a background sets only its ink: it covers nothing.
    s.text(0, 0, "AB", red, nullptr);
    s.text(0, 0, "CD", blue, nullptr);
    EXPECT_EQ(s.recordedOperations(), 5u);
    s.text(0, 0, "EF", blue, &green);  // its cells are 12 x 8: the blit's 6 x 6 goes too
    EXPECT_EQ(s.recordedOperations(), 3u);

    s.fill({0, 0, 20, 10}, red);  // the whole surface
    EXPECT_EQ(s.recordedOperations(), 1u);
    EXPECT_EQ(s.pixel(19, 9), red);
}

TEST(Recording, AReadDrawsWhatWasRecorded) {
    Surface s(12, 8, black);
    s.blit(0, 0, 6, 8, plain(6, 8, red), 0, 0, BlitOp::Copy);
    s.blit(3, 0, 6, 8, plain(6, 8, blue), 0, 0, BlitOp::Or);
    ASSERT_EQ(s.recordedOperations(), 2u);
    EXPECT_EQ(s.pixel(4, 4), (Rgb{255, 0, 255}));
    EXPECT_EQ(s.recordedOperations(), 0u);
    EXPECT_EQ(s.pixel(8, 4), blue);

    s.fill({11, 7, 5, 5}, green);
    const std::vector<uint8_t>& rgb = s.rgb();
    EXPECT_EQ(s.recordedOperations(), 0u);
    EXPECT_EQ(rgb[rgb.size() - 2], 255) << "the last pixel's green";
}

TEST(Recording, ABlitFromARecordedSurfaceSeesItsDrawing) {
    auto middle = std::make_shared<Surface>(4, 4, black);
    middle->fill({0, 0, 2, 4}, red);  // recorded on the source
    Surface target(4, 4, blue);
    target.blit(0, 0, 4, 4, std::shared_ptr<const Surface>(middle), 0, 0, BlitOp::Copy);
    EXPECT_EQ(target.pixel(1, 1), red);
    EXPECT_EQ(target.pixel(3, 1), black);

    Surface direct(4, 4, blue);
    auto other = std::make_shared<Surface>(4, 4, black);
    other->fill({2, 0, 2, 4}, green);
    direct.blit(0, 0, 4, 4, *other, 0, 0, BlitOp::Or);  // drawn at once
    EXPECT_EQ(direct.recordedOperations(), 0u);
    EXPECT_EQ(direct.pixel(3, 0), (Rgb{0, 255, 255}));
}

// Through the window system: a bitmap drawn on after it was copied keeps the
// copy showing what it was at the time of the copy.
TEST(Recording, ACopiedBitmapDrawnOnLaterLeavesTheCopyAsItWas) {
    HBITMAP source = static_cast<HBITMAP>(window::newBitmap(std::make_shared<Surface>(12, 8, red)));
    HBITMAP canvas = static_cast<HBITMAP>(window::newBitmap(std::make_shared<Surface>(12, 8, black)));
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ fromStock = SelectObject(from, source);
    HGDIOBJ toStock = SelectObject(to, canvas);

    ASSERT_TRUE(BitBlt(to, 0, 0, 12, 8, from, 0, 0, SRCCOPY));
    SetBkColor(from, RGB(0, 0, 255));
    TextOutA(from, 0, 0, "XY", 2);  // the source changes after the copy
    const Surface& drawn = *window::liveBitmap(canvas)->pixels;
    EXPECT_EQ(drawn.pixel(0, 0), red);
    EXPECT_EQ(drawn.pixel(11, 7), red);
    EXPECT_EQ(window::liveBitmap(source)->pixels->pixel(5, 0), blue) << "the source itself did change";

    ASSERT_TRUE(BitBlt(to, 0, 0, 12, 8, to, 1, 0, SRCCOPY));  // within one bitmap: drawn at once
    EXPECT_EQ(drawn.recordedOperations(), 0u);

    SelectObject(from, fromStock);
    SelectObject(to, toStock);
    DeleteDC(from);
    DeleteDC(to);
    DeleteObject(source);
    DeleteObject(canvas);
}

TEST(Recording, TheRecordStaysShortHoweverMuchIsDrawn) {
    Surface s(64, 64, black);
    Surface eager(64, 64, black);
    auto dot = plain(1, 1, green);
    for (int i = 0; i < 4096; ++i) {  // nothing covers anything: every pixel once
        s.blit(i % 64, i / 64, 1, 1, dot, 0, 0, i % 3 ? BlitOp::Copy : BlitOp::Or);
        eager.blit(i % 64, i / 64, 1, 1, *dot, 0, 0, i % 3 ? BlitOp::Copy : BlitOp::Or);
        ASSERT_LE(s.recordedOperations(), 32u);
    }
    EXPECT_EQ(s.rgb(), eager.rgb());
}

// Random drawing, recorded and drawn at once, gives the same pixels.
TEST(Recording, AnyDrawingReadsAsIfDrawnAtOnce) {
    std::mt19937 random(42);
    const std::shared_ptr<const Surface> sources[] = {plain(30, 20, red), plain(7, 9, blue), plain(40, 40, green)};
    auto number = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
    auto colour = [&] {
        return Rgb{static_cast<uint8_t>(number(0, 255)), static_cast<uint8_t>(number(0, 255)),
                   static_cast<uint8_t>(number(0, 255))};
    };
    for (int round = 0; round < 200; ++round) {
        Surface recorded(24, 16, black), eager(24, 16, black);
        const int operations = number(1, 60);
        for (int i = 0; i < operations; ++i) {
            const int x = number(-8, 24), y = number(-8, 16), w = number(0, 30), h = number(0, 20);
            switch (number(0, 3)) {
                case 0: {
                    const Rgb c = colour();
                    recorded.fill({x, y, w, h}, c);
                    eager.fill({x, y, w, h}, c);
                    eager.rgb();
                    break;
                }
                case 1:
                case 2: {
                    const auto& src = sources[number(0, 2)];
                    const int sx = number(-4, 20), sy = number(-4, 20);
                    const BlitOp op = number(0, 1) ? BlitOp::Copy : BlitOp::Or;
                    recorded.blit(x, y, w, h, src, sx, sy, op);
                    eager.blit(x, y, w, h, *src, sx, sy, op);
                    break;
                }
                default: {
                    const std::string text(static_cast<size_t>(number(0, 5)), static_cast<char>(number(32, 126)));
                    const Rgb ink = colour(), background = colour();
                    const bool opaque = number(0, 1);
                    const Rect clip{number(-4, 10), number(-4, 10), number(0, 30), number(0, 20)};
                    recorded.text(x, y, text, ink, opaque ? &background : nullptr, clip);
                    eager.text(x, y, text, ink, opaque ? &background : nullptr, clip);
                    eager.rgb();
                    break;
                }
            }
        }
        ASSERT_EQ(recorded.rgb(), eager.rgb()) << "round " << round;
    }
}

TEST(Recording, TheContentStampChangesWithDrawingAndOnlyWithIt) {
    Surface s(8, 8, black);
    const uint64_t first = s.contentStamp();
    s.pixel(1, 1);
    (void)s.rgb();
    EXPECT_EQ(s.contentStamp(), first) << "reading draws nothing new";

    s.fill({0, 0, 2, 2}, red);
    const uint64_t filled = s.contentStamp();
    EXPECT_NE(filled, first);
    (void)s.rgb();  // the recorded fill turned into pixels: the same content
    EXPECT_EQ(s.contentStamp(), filled);
    for (auto draw : {+[](Surface& t) { t.setPixel(3, 3, blue); },
                      +[](Surface& t) { t.text(0, 0, "A", green, nullptr); },
                      +[](Surface& t) { t.blit(0, 0, 2, 2, Surface(2, 2, red), 0, 0, BlitOp::Or); },
                      +[](Surface& t) { t.blit(4, 4, 2, 2, plain(2, 2, blue), 0, 0, BlitOp::Copy); }}) {
        const uint64_t before = s.contentStamp();
        draw(s);
        EXPECT_NE(s.contentStamp(), before);
    }

    // A copy shows what its source shows; another surface never shares a stamp.
    const Surface copy = s;
    EXPECT_EQ(copy.contentStamp(), s.contentStamp());
    EXPECT_NE(Surface(8, 8, black).contentStamp(), Surface(8, 8, black).contentStamp());
}
