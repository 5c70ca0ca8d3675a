// A launcher's own scenario lines as both launchers read them: keys in any
// letter case, whole keys kept apart from longer ones, lines of numbers read
// as far as they go and written back in full precision.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ScenarioLines.h"

namespace {

using tarvik::LauncherKey;

TEST(ScenarioKeys, APrefixKeyMatchesInAnyCaseAndRunsOnIntoItsValue) {
    EXPECT_STREQ(tarvik::afterKeyPrefix("payload SAT1", "PAYLOAD"), " SAT1");
    EXPECT_STREQ(tarvik::afterKeyPrefix("CONFIG4", "CONFIG"), "4");
    EXPECT_EQ(tarvik::afterKeyPrefix("CONF", "CONFIG"), nullptr);
    EXPECT_EQ(tarvik::afterKeyPrefix(" CONFIG 4", "CONFIG"), nullptr);

    const char* rest = nullptr;
    EXPECT_EQ(tarvik::matchLauncherKey("FAIRING_ATTACHED 0", &rest), LauncherKey::FairingAttached);
    EXPECT_STREQ(rest, " 0");
    EXPECT_EQ(tarvik::matchLauncherKey("MissionTime 12.5", &rest), LauncherKey::MissionTime);
    EXPECT_EQ(tarvik::matchLauncherKey("MESHES tarvik/x", &rest), LauncherKey::Mesh);
    EXPECT_STREQ(rest, "ES tarvik/x");
    EXPECT_EQ(tarvik::matchLauncherKey("STATUS Landed Earth", &rest), LauncherKey::None);
}

TEST(ScenarioKeys, AWholeKeyIsNotTakenForALongerOne) {
    EXPECT_STREQ(tarvik::afterWholeKey("STAGE 2", "STAGE"), " 2");
    EXPECT_STREQ(tarvik::afterWholeKey("stage\t2", "STAGE"), "\t2");
    EXPECT_STREQ(tarvik::afterWholeKey("STAGE\r", "STAGE"), "\r");
    EXPECT_STREQ(tarvik::afterWholeKey("STAGE", "STAGE"), "");
    EXPECT_EQ(tarvik::afterWholeKey("STAGETIMER 2 137", "STAGE"), nullptr);
    EXPECT_EQ(tarvik::afterWholeKey("STAG", "STAGE"), nullptr);
    EXPECT_EQ(tarvik::afterWholeKey("AUTOPILOTINPUTS 350 28.6 0", "AUTOPILOT"), nullptr);
}

TEST(ScenarioNumbers, AreReadAsFarAsTheyGoAndWhatIsNotFiniteKeepsItsPlace) {
    double values[4] = {-1, -1, -1, -1};
    bool has[4] = {};
    tarvik::readNumbers(" 0.6 nan 1e400 7 8", values, has, 4);
    EXPECT_EQ(values[0], 0.6);
    EXPECT_EQ(values[1], -1);
    EXPECT_EQ(values[2], -1);
    EXPECT_EQ(values[3], 7);
    EXPECT_TRUE(has[0] && !has[1] && !has[2] && has[3]);

    double partial[3] = {5, 5, 5};
    tarvik::readNumbers("1 two 3", partial, nullptr, 3);
    EXPECT_EQ(partial[0], 1);
    EXPECT_EQ(partial[1], 5);
    EXPECT_EQ(partial[2], 5);
}

TEST(ScenarioNumbers, AreWrittenSoThatTheyReadBackBitForBitAndNeverOverrunTheLine) {
    const double values[3] = {0.1 + 0.2, -1e-300, 86164.10132};
    char text[160];
    tarvik::formatNumbers(text, sizeof text, values, 3);
    double back[3] = {};
    tarvik::readNumbers(text, back, nullptr, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(back[i], values[i]) << text;

    char small[12];
    std::memset(small, 'x', sizeof small);
    tarvik::formatNumbers(small, sizeof small, values, 3);
    EXPECT_LT(std::strlen(small), sizeof small);
    EXPECT_EQ(std::string(small), std::string(text).substr(0, sizeof small - 1));
}

}  // namespace
