// The launcher names table and the rule that names a further launcher of a type.
#include <gtest/gtest.h>

#include "LauncherNames.h"

namespace {

using tarvik::NamedVessel;
using tarvik::nextLauncherName;

TEST(LauncherNames, EveryNameHasTheClassOfItsRow) {
    EXPECT_STREQ(tarvik::launcherClassKey("TarvikM42-2"), "tarvik/tarvikM42-2");
    EXPECT_STREQ(tarvik::launcherClassKey("TarvikHP-3"), "tarvik/tarvikHP-3");
    EXPECT_STREQ(tarvik::launcherClassKey("TarvikM52-3"), "tarvik/tarvikM52-2") << "there is no third M52 class";
    EXPECT_EQ(tarvik::launcherClassKey("LC37B"), nullptr);
    EXPECT_STREQ(tarvik::launcherBaseName("TarvikM54-3"), "TarvikM54");
    EXPECT_STREQ(tarvik::launcherCaption("Tarvik-2"), "Tarvik Heavy");
    EXPECT_STREQ(tarvik::launcherCaption("TarvikHP"), "Tarvik Heavy +");
}

TEST(LauncherNames, NamesCompareOverFifteenCharacters) {
    EXPECT_TRUE(tarvik::sameLauncherName("TarvikM52-2", "TarvikM52-2"));
    EXPECT_FALSE(tarvik::sameLauncherName("TarvikM52", "TarvikM52-2"));
    EXPECT_TRUE(tarvik::sameLauncherName("TarvikM52-2abcdX", "TarvikM52-2abcdY"));
}

TEST(LauncherNames, FurtherLaunchersOfATypeGetTheNextFreeSuffix) {
    const std::vector<NamedVessel> none;
    const std::vector<NamedVessel> one = {{"TarvikM52", "Earth"}};
    const std::vector<NamedVessel> two = {{"TarvikM52-2", "Earth"}, {"TarvikM52", "Earth"}};
    const std::vector<NamedVessel> three = {{"TarvikM52", "Earth"}, {"TarvikM52-2", "Earth"}, {"TarvikM52-3", "Earth"}};
    EXPECT_EQ(nextLauncherName("TarvikM52", none), "TarvikM52");
    EXPECT_EQ(nextLauncherName("TarvikM52", one), "TarvikM52-2");
    EXPECT_EQ(nextLauncherName("TarvikM52", two), "TarvikM52-3");
    EXPECT_EQ(nextLauncherName("TarvikM52", three), "TarvikM52-3") << "a taken third name is not checked further";
}

TEST(LauncherNames, OnlyVesselsOrbitingEarthTakeAName) {
    const std::vector<NamedVessel> elsewhere = {{"TarvikM52", "Moon"}};
    EXPECT_EQ(nextLauncherName("TarvikM52", elsewhere), "TarvikM52");
    const std::vector<NamedVessel> secondOnly = {{"TarvikM52-2", "Earth"}};
    EXPECT_EQ(nextLauncherName("TarvikM52", secondOnly), "TarvikM52") << "the base name is still free";
}

}  // namespace
