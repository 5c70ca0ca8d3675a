// Fixed-point number text as printf writes it, checked against snprintf
// itself: exact ties (which round to the even digit), values a hair either
// side of a tie, numbers of every size, and the odd ones (negative zero,
// infinities, NaN, a buffer too short).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "FixedText.h"

namespace {

// Counts the values whose text or read-back differs from printf's, and
// remembers the first few for the failure message.
class AgainstPrintf {
public:
    void check(double value, int decimals) {
        ++checked_;
        char expected[512], actual[512];
        std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
        const size_t length = tarvik::fixedText(actual, value, decimals);
        const double readBack = std::strtod(expected, nullptr);
        const double rounded = tarvik::fixedRounded(value, decimals);
        const bool sameText = std::strcmp(expected, actual) == 0 && length == std::strlen(expected);
        const bool sameNumber =
            std::isnan(readBack) ? std::isnan(rounded) : std::memcmp(&readBack, &rounded, sizeof rounded) == 0;
        if (sameText && sameNumber)
            return;
        if (++mismatches_ <= 5) {
            char exact[64];
            std::snprintf(exact, sizeof exact, "%.17g", value);
            report_ += std::string("  ") + exact + " with " + std::to_string(decimals) + " decimals: printf \"" +
                       expected + "\", fixedText \"" + actual + "\"\n";
        }
    }
    void expectNone() const {
        EXPECT_EQ(mismatches_, 0) << "of " << checked_ << " values\n" << report_;
        EXPECT_GT(checked_, 0);
    }
    long checked() const { return checked_; }

private:
    long checked_ = 0;
    long mismatches_ = 0;
    std::string report_;
};

std::string fixed(double value, int decimals) {
    char text[64];
    tarvik::fixedText(text, value, decimals);
    return text;
}

TEST(FixedText, ExactTiesRoundToTheEvenDigitAsPrintfDoes) {
    EXPECT_EQ(fixed(0.125, 2), "0.12");
    EXPECT_EQ(fixed(0.375, 2), "0.38");
    EXPECT_EQ(fixed(2.5, 0), "2");
    EXPECT_EQ(fixed(-3.5, 0), "-4");

    // A tie at N decimals is an odd multiple of 2^-(N+1): every one of them
    // up to a million and a half, both signs, and the ties far out in the
    // mantissa, with the neighbours a hair either side.
    AgainstPrintf printf;
    std::mt19937_64 random(20240611);
    for (int decimals = 0; decimals <= 7; ++decimals) {
        const double step = std::ldexp(1.0, -(decimals + 1));
        for (int64_t odd = 1; odd < 120000; odd += 2) {
            const double tie = static_cast<double>(odd) * step;
            printf.check(tie, decimals);
            printf.check(-tie, decimals);
            printf.check(std::nextafter(tie, 0.0), decimals);
            printf.check(std::nextafter(tie, INFINITY), decimals);
        }
        for (int i = 0; i < 20000; ++i) {
            const auto odd = static_cast<int64_t>(random() >> (11 + random() % 40)) | 1;
            printf.check(static_cast<double>(odd) * step, decimals);
        }
    }
    printf.expectNone();
}

TEST(FixedText, ValuesOfEverySizeMatchPrintf) {
    AgainstPrintf printf;
    std::mt19937_64 random(7);
    // Read-outs as the dialogs show them: the decimal texts one digit past
    // what is shown ("1.005" is a little below its tie, "1.015" above).
    for (int hundredths = -30000; hundredths < 30000; ++hundredths)
        for (int last : {4, 5, 6}) {
            char text[32];
            std::snprintf(text, sizeof text, "%s%d.%02d%d", hundredths < 0 ? "-" : "", std::abs(hundredths) / 100,
                          std::abs(hundredths) % 100, last);
            printf.check(std::strtod(text, nullptr), 2);
        }
    // Any bit pattern, from the smallest subnormal to the largest double.
    for (int i = 0; i < 100000; ++i) {
        uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        printf.check(value, static_cast<int>(i % 7));
    }
    // Uniform in the ranges a flight reads out.
    std::uniform_real_distribution<double> flight(-1e7, 1e7);
    for (int i = 0; i < 200000; ++i)
        printf.check(flight(random), 1 + i % 5);
    // Up to where the product with the power of ten leaves 2^52, and past it.
    for (int i = 0; i < 200000; ++i) {
        const int decimals = i % 9;
        const double limit = std::ldexp(1.0, 52) / std::pow(10.0, decimals);
        const double value = std::ldexp(limit, -static_cast<int>(random() % 40)) * (1 + 1e-3 * (i % 3 - 1));
        printf.check(i % 2 ? value : -value, decimals);
    }
    printf.expectNone();
}

TEST(FixedText, SignsInfinitiesNaNAndShortBuffersAsPrintf) {
    AgainstPrintf printf;
    const double odd[] = {0.0,
                          -0.0,
                          -0.001,
                          -0.005,
                          0.005,
                          9.995,
                          99.995,
                          0.995,
                          1e21,
                          -1e300,
                          DBL_MAX,
                          -DBL_MAX,
                          DBL_MIN,
                          DBL_TRUE_MIN,
                          INFINITY,
                          -INFINITY,
                          NAN,
                          -NAN,
                          4503599627370497.5,
                          9007199254740993.0};
    for (double value : odd)
        for (int decimals = 0; decimals <= 6; ++decimals)
            printf.check(value, decimals);
    printf.expectNone();

    // Cut as snprintf cuts, with the whole length returned.
    char actual[8];
    EXPECT_EQ(tarvik::fixedText(actual, 123456.789, 2), 9u);
    EXPECT_STREQ(actual, "123456.");
    char none[1] = {'x'};
    EXPECT_EQ(tarvik::fixedText(none, 1, 1.5, 1), 3u);
    EXPECT_EQ(none[0], '\0');
    EXPECT_EQ(tarvik::fixedText(nullptr, 0, -1.5, 1), 4u);

    // A huge number reads back whole, where a 64-character buffer would cut it.
    EXPECT_EQ(tarvik::fixedRounded(1e300, 2), 1e300);
    EXPECT_EQ(tarvik::fixedRounded(2.675, 2), 2.67);  // 2.675 is a little below its tie
    EXPECT_TRUE(std::signbit(tarvik::fixedRounded(-0.001, 2)));
}

}  // namespace
