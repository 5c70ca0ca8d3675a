// Drawing: pixel surfaces, bitmap files, and the window system's drawing
// calls on memory device contexts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "Orbitersdk.h"
#include "window/Bmp.h"
#include "window/Surface.h"
#include "window/Window.h"

using namespace host;

namespace {

constexpr Rgb red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0}, black{0, 0, 0};

std::string tempFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("tarvik-window-" + std::to_string(getpid()) + "-" + name))
        .string();
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A 24-bit file of the given surface, returned as a path.
std::string bmpFile(const std::string& name, const Surface& s) {
    std::string path = tempFile(name);
    writeFile(path, encodeBmp(s));
    return path;
}

}  // namespace

TEST(Surface, BlitClipsToBothSurfaces) {
    Surface src(4, 4, red);
    src.setPixel(0, 0, blue);
    Surface dst(6, 6, black);

    dst.blit(-1, -1, 4, 4, src, 0, 0, BlitOp::Copy);  // hangs off the top-left corner
    EXPECT_EQ(dst.pixel(0, 0), red);                  // src (1,1)
    EXPECT_EQ(dst.pixel(2, 2), red);
    EXPECT_EQ(dst.pixel(3, 3), black);

    dst.blit(4, 4, 10, 10, src, 0, 0, BlitOp::Copy);  // runs off the bottom-right corner
    EXPECT_EQ(dst.pixel(4, 4), blue);
    EXPECT_EQ(dst.pixel(5, 5), red);

    dst.blit(0, 5, 3, 3, src, 3, 3, BlitOp::Copy);  // source window mostly outside the source
    EXPECT_EQ(dst.pixel(0, 5), red);
    EXPECT_EQ(dst.pixel(1, 5), black);
}

TEST(Surface, OrCombinesAndOverlappingCopyKeepsTheSource) {
    Surface s(4, 1, black);
    s.setPixel(0, 0, red);
    s.setPixel(1, 0, blue);
    s.blit(1, 0, 2, 1, s, 0, 0, BlitOp::Copy);  // shifts red, blue one to the right
    EXPECT_EQ(s.pixel(1, 0), red);
    EXPECT_EQ(s.pixel(2, 0), blue);

    Surface over(1, 1, blue);
    s.blit(1, 0, 1, 1, over, 0, 0, BlitOp::Or);
    EXPECT_EQ(s.pixel(1, 0), (Rgb{255, 0, 255}));
}

TEST(Surface, TextWithBackgroundFillsWholeCells) {
    Surface s(20, 10, black);
    s.text(1, 1, "I", red, &green);
    EXPECT_EQ(s.pixel(1, 1), green);  // glyph "I" row 0 is ".###."
    EXPECT_EQ(s.pixel(2, 1), red);
    EXPECT_EQ(s.pixel(6, 8), green);                      // the cell's spacing column and last row
    EXPECT_EQ(s.pixel(7, 1), black);                      // past the cell
    s.text(1, 1, "I", blue, nullptr, Rect{0, 0, 3, 10});  // transparent, clipped at x 3
    EXPECT_EQ(s.pixel(2, 1), blue);
    EXPECT_EQ(s.pixel(3, 1), red);
}

TEST(Bmp, ReadsTwentyFourAndEightBitFiles) {
    Surface picture(3, 2, red);
    picture.setPixel(2, 0, blue);  // top right
    auto back = decodeBmp(encodeBmp(picture));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width(), 3);
    EXPECT_EQ(back->pixel(2, 0), blue);  // rows are stored bottom-up
    EXPECT_EQ(back->pixel(2, 1), red);

    // An 8-bit top-down file with a two-colour palette.
    std::vector<uint8_t> b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 0xFE, 0xFF, 0xFF,
                              0xFF,  // width 2, height -2
                              1, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              255, 0,        // index 0: red (stored
                                             // b, g, r)
                              0, 255, 0, 0,  // index 1: green
                              0, 1, 0, 0,    // top row: red, green
                              1, 1, 0, 0};   // bottom row: green, green
    auto eight = decodeBmp(b);
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->pixel(0, 0), red);
    EXPECT_EQ(eight->pixel(1, 0), green);
    EXPECT_EQ(eight->pixel(0, 1), green);
}

TEST(Bmp, DamagedFilesAreRefusedNotRead) {
    std::vector<uint8_t> good = encodeBmp(Surface(4, 4, red));
    std::vector<uint8_t> truncated(good.begin(), good.end() - 10);
    std::vector<uint8_t> huge = good;
    huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x7F;  // width 2^31-1
    std::vector<uint8_t> compressed = good;
    compressed[30] = 1;
    for (const auto& bytes : {truncated, huge, compressed, std::vector<uint8_t>{'B', 'M'}}) {
        std::string why;
        EXPECT_FALSE(decodeBmp(bytes, &why));
        EXPECT_FALSE(why.empty());
    }
    EXPECT_FALSE(readBmp("/nonexistent/picture.bmp"));
}

TEST(Gdi, LoadsFilesAndBlitsBetweenMemoryContexts) {
    Surface stripe(4, 2, red);
    stripe.setPixel(3, 1, blue);
    std::string path = bmpFile("stripe.bmp", stripe);

    EXPECT_EQ(LoadImageA(0, "/nonexistent/x.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    auto source = (HBITMAP)LoadImageA(0, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    auto canvas = (HBITMAP)LoadImageA(0, path.c_str(), IMAGE_BITMAP, 8, 4, LR_LOADFROMFILE);  // scaled x2
    ASSERT_NE(source, nullptr);
    ASSERT_NE(canvas, nullptr);
    const Surface& pixels = *window::liveBitmap(canvas)->pixels;
    EXPECT_EQ(pixels.width(), 8);
    EXPECT_EQ(pixels.pixel(7, 3), blue);
    EXPECT_EQ(pixels.pixel(5, 3), red);

    HDC from = CreateCompatibleDC(0);
    HDC to = CreateCompatibleDC(0);
    HGDIOBJ stock = SelectObject(from, source);
    ASSERT_NE(stock, nullptr);
    SelectObject(to, canvas);
    EXPECT_TRUE(BitBlt(to, 4, 0, 4, 2, from, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(to, 0, 0, 4, 2, from, 0, 0, 0x00330008));  // other raster operations are refused
    const Surface& drawn = *window::liveBitmap(canvas)->pixels;
    EXPECT_EQ(drawn.pixel(7, 1), blue);
    EXPECT_EQ(drawn.pixel(7, 0), red);

    SetBkColor(to, RGB(0, 255, 0));
    SetTextColor(to, RGB(0, 0, 255));
    TextOutA(to, 0, 0, "I.", 1);  // one character only
    EXPECT_EQ(drawn.pixel(0, 0), green);
    EXPECT_EQ(drawn.pixel(1, 0), blue);
    EXPECT_EQ(drawn.pixel(6, 0), red);  // the '.' was not drawn

    // Deleting a bitmap still selected waits for its DC (no leak, no dangling use).
    EXPECT_TRUE(DeleteObject(source));
    EXPECT_TRUE(BitBlt(to, 0, 0, 4, 2, from, 0, 0, SRCPAINT));
    SelectObject(from, stock);
    EXPECT_FALSE(DeleteObject(source));  // gone once deselected
    DeleteObject(stock);                 // harmless: the stock bitmap stays
    EXPECT_EQ(SelectObject(from, stock), stock);

    DeleteObject(canvas);
    DeleteDC(from);
    DeleteDC(to);
    EXPECT_FALSE(DeleteDC(to));
    EXPECT_EQ(SetBkColor(to, 0), 0xFFFFFFFFu);
    EXPECT_FALSE(TextOutA(to, 0, 0, "x", 1));
    std::filesystem::remove(path);
}

TEST(Gdi, CurrentDirectoryReportsTheSizeItNeeds) {
    char small[2];
    DWORD needed = GetCurrentDirectoryA(sizeof small, small);
    ASSERT_GT(needed, 2u);
    std::string buffer(needed, '\0');
    DWORD length = GetCurrentDirectoryA(needed, buffer.data());
    EXPECT_EQ(length, needed - 1);
    EXPECT_EQ(buffer.c_str(), std::filesystem::current_path().string());
}
