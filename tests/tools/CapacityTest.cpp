// What a launcher can carry: the search's end condition and its way to the
// capacity, the table read straight between its rows, the payloads fly
// refuses before flying, and the bounds that end a flight that can no
// longer complete.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CapacityCheck.h"
#include "CapacitySearch.h"
#include "CapacityTable.h"
#include "FlightOutlook.h"
#include "sim/Simulation.h"

namespace fs = std::filesystem;
using namespace tarviksim;

namespace {

// Flies a search against a launcher that completes up to `limit` kg.
CapacitySearch searched(const SearchLimits& limits, double limit) {
    CapacitySearch s(limits);
    for (int i = 0; i < 100 && !s.done(); ++i) {
        const double mass = *s.next();
        EXPECT_GE(mass, limits.lightest);
        EXPECT_LE(mass, limits.heaviest);
        s.record(mass, mass <= limit);
    }
    EXPECT_TRUE(s.done());
    return s;
}

CapacityRow row(const std::string& launcher, double inclination, double altitude, double capacity,
                CapacityLimit limit = CapacityLimit::Flights) {
    CapacityRow r;
    r.launcher = launcher;
    r.pad = "LC37B";
    r.inclinationDeg = inclination;
    r.altitudeKm = altitude;
    r.capacityKg = capacity;
    r.limit = limit;
    return r;
}

Mission mission(const std::string& launcher, double altitude, double inclination, const std::string& payload) {
    Mission m;
    m.launcher = launcher;
    m.pad = "LC37B";
    m.altitudeKm = altitude;
    m.inclinationDeg = inclination;
    m.payload = payload;
    return m;
}

}  // namespace

TEST(CapacitySearch, EndsOnceTheBracketIsOneStepWide) {
    EXPECT_TRUE(bracketSettled(12100, 12150, 50));
    EXPECT_TRUE(bracketSettled(12100, 12149.9, 50));
    EXPECT_FALSE(bracketSettled(12100, 12200, 50));
    EXPECT_FALSE(bracketSettled(12100, 12150.1, 50));
    // Sums of rounded masses land a hair over the step, and still end it.
    EXPECT_TRUE(bracketSettled(0.1 + 0.2, 50.3 + 1e-12, 50));
}

TEST(CapacitySearch, FindsTheHeaviestCompletingMassFromAGuessOnEitherSide) {
    SearchLimits l;
    for (double guess : {3000.0, 12000.0, 20000.0, 11137.0}) {
        l.guess = guess;
        const CapacitySearch s = searched(l, 11137);
        ASSERT_TRUE(s.capacity()) << guess;
        EXPECT_DOUBLE_EQ(*s.capacity(), 11100) << "from a guess of " << guess;
        EXPECT_DOUBLE_EQ(*s.lightestFailing(), 11150);
        EXPECT_LE(s.flights(), 13) << guess;
        EXPECT_FALSE(s.contradicted());
    }
    // A close guess costs few flights.
    l.guess = 11200;
    l.step = 200;
    EXPECT_LE(searched(l, 11137).flights(), 4);
}

TEST(CapacitySearch, StopsAtItsBoundsAndSaysWhenCompletingIsNotMonotonic) {
    SearchLimits l;
    l.heaviest = 3000;  // the pitch tables' end
    l.guess = 3000;
    const CapacitySearch top = searched(l, 5000);
    EXPECT_EQ(top.flights(), 1);
    EXPECT_TRUE(top.atHeaviest());
    EXPECT_DOUBLE_EQ(*top.capacity(), 3000);

    const CapacitySearch none = searched(l, 10);
    EXPECT_FALSE(none.capacity()) << "not even the lightest completes";
    EXPECT_DOUBLE_EQ(*none.lightestFailing(), l.lightest);

    // A lighter payload that fails after a heavier one completed: the
    // search says so and stays below the failure.
    CapacitySearch s(SearchLimits{});
    s.record(5000, true);
    s.record(4000, false);
    EXPECT_TRUE(s.contradicted());
    EXPECT_FALSE(s.capacity());
    ASSERT_TRUE(s.next());
    EXPECT_LT(*s.next(), 4000);
}

TEST(CapacityTable, ReadsStraightBetweenItsRows) {
    const CapacityCurve curve = {{200, 12000}, {400, 11000}, {600, 10000}, {1000, 4000}};
    EXPECT_DOUBLE_EQ(*interpolate(curve, 200), 12000);
    EXPECT_DOUBLE_EQ(*interpolate(curve, 300), 11500);
    EXPECT_DOUBLE_EQ(*interpolate(curve, 900), 5500);
    EXPECT_DOUBLE_EQ(*interpolate(curve, 1000), 4000);
    EXPECT_FALSE(interpolate(curve, 150));
    EXPECT_FALSE(interpolate(curve, 1001));
    EXPECT_FALSE(interpolate({}, 300));

    EXPECT_DOUBLE_EQ(*reachWith(curve, 10000), 600);
    EXPECT_DOUBLE_EQ(*reachWith(curve, 7000), 800);
    EXPECT_DOUBLE_EQ(*reachWith(curve, 4000), 1000);
    EXPECT_DOUBLE_EQ(*reachWith(curve, 100), 1000) << "the top row still carries it";
    EXPECT_FALSE(reachWith(curve, 13000));
    // A dip and a rise: the reach is past the last crossing.
    EXPECT_DOUBLE_EQ(*reachWith({{200, 5000}, {400, 3000}, {600, 5000}, {800, 3000}}, 4000), 700);

    // Between two inclinations, and above the table.
    const std::vector<CapacityRow> rows = {row("TarvikM52", 28.6, 200, 12000), row("TarvikM52", 28.6, 1000, 10000),
                                           row("TarvikM52", 51.6, 200, 10000), row("TarvikM52", 51.6, 1000, 8000)};
    const CapacityEstimate mid = estimateCapacity(rows, "tarvikm52", "LC37B", 40.1, false, 600, 9000);
    EXPECT_TRUE(mid.covered);
    EXPECT_FALSE(mid.aboveTable);
    EXPECT_DOUBLE_EQ(mid.capacityKg, 10000);
    EXPECT_DOUBLE_EQ(*mid.reachKm, 1000);
    const CapacityEstimate exact = estimateCapacity(rows, "TarvikM52", "LC37B", 28.6, false, 200, 9000);
    EXPECT_DOUBLE_EQ(exact.capacityKg, 12000);
    const CapacityEstimate high = estimateCapacity(rows, "TarvikM52", "LC37B", 51.6, false, 5000, 9000);
    EXPECT_TRUE(high.aboveTable);
    EXPECT_DOUBLE_EQ(high.capacityKg, 8000);
    EXPECT_DOUBLE_EQ(*high.reachKm, 600);
    // Outside the inclinations, the pads, the nodes and below the table: no word.
    EXPECT_FALSE(estimateCapacity(rows, "TarvikM52", "LC37B", 60, false, 500, 1).covered);
    EXPECT_FALSE(estimateCapacity(rows, "TarvikM52", "LC6", 51.6, false, 500, 1).covered);
    EXPECT_FALSE(estimateCapacity(rows, "TarvikM52", "LC37B", 51.6, true, 500, 1).covered);
    EXPECT_FALSE(estimateCapacity(rows, "TarvikM52", "LC37B", 51.6, false, 150, 1).covered);
}

TEST(CapacityTable, ReadsBackAsWrittenAndRefusesABadLine) {
    std::vector<CapacityRow> rows = {row("TarvikM4", 51.6, 300, 3000, CapacityLimit::PitchTables),
                                     row("TarvikM52", 28.6, 400, 12100)};
    rows[1].lightestFailingKg = 12150;
    rows[1].flights = 5;
    rows[1].note = "a note, with a comma and \"quotes\"";
    const std::vector<CapacityRow> back = parseCapacityCsv(capacityCsv(rows), "t.csv");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].limit, CapacityLimit::PitchTables);
    EXPECT_FALSE(back[0].lightestFailingKg);
    EXPECT_DOUBLE_EQ(*back[1].lightestFailingKg, 12150);
    EXPECT_EQ(back[1].note, rows[1].note);
    EXPECT_EQ(capacityCsv(back), capacityCsv(rows));

    try {
        parseCapacityCsv(capacityCsv(rows) + "TarvikM52,LC37B,28.6,ascending,500,lots,flights,,1,\n", "t.csv");
        FAIL() << "a capacity that is not a number";
    } catch (const host::InputError& e) {
        EXPECT_EQ(e.line, 4);
    }
}

// TarvikM4 above its pitch tables, SAT2 on a TarvikM52, and a TarvikM54
// sent far above where it carries its own payload: each refused with the
// numbers, before anything flies.
TEST(CapacityCheck, RefusesWhatTheLauncherCannotCarryWithTheNumbers) {
    const std::vector<CapacityRow> rows = {row("TarvikM52", 28.6, 200, 12000), row("TarvikM52", 28.6, 600, 11600),
                                           row("TarvikM54", 28.6, 1000, 9000), row("TarvikM54", 28.6, 3000, 3000)};
    const std::optional<std::string> m4 =
        overCapacity(checkMission(mission("TarvikM4", 400, 51.6, "3200"), TARVIK_DATA_DIR), rows, "t.csv");
    ASSERT_TRUE(m4);
    EXPECT_NE(m4->find("TarvikM4 has no pitch table for a payload of 3200 kg: its tables end at 3000 kg"),
              std::string::npos)
        << *m4;
    EXPECT_FALSE(overCapacity(checkMission(mission("TarvikM4", 400, 51.6, "3000"), TARVIK_DATA_DIR), rows, "t.csv"));

    const std::optional<std::string> sat2 =
        overCapacity(checkMission(mission("TarvikM52", 400, 28.6, "SAT2"), TARVIK_DATA_DIR), rows, "t.csv");
    ASSERT_TRUE(sat2);
    EXPECT_EQ(*sat2,
              "SAT2 (13000 kg) is more than TarvikM52 from LC37B at 28.6 deg (ascending node) carries to "
              "400 km: 11800 kg by the capacity table (t.csv); it carries 13000 kg to none of the table's altitudes");
    EXPECT_FALSE(overCapacity(checkMission(mission("TarvikM52", 400, 28.6, "11800"), TARVIK_DATA_DIR), rows, "t.csv"));

    const std::optional<std::string> far =
        overCapacity(checkMission(mission("TarvikM54", 5000, 28.6, ""), TARVIK_DATA_DIR), rows, "t.csv");
    ASSERT_TRUE(far);
    EXPECT_NE(far->find("SAT1 (4500 kg) is more than TarvikM54"), std::string::npos) << *far;
    EXPECT_NE(far->find("the capacity table (t.csv) ends at 3000 km with 3000 kg, and capacity only falls with "
                        "altitude; with 4500 kg it reaches 2500 km"),
              std::string::npos)
        << *far;
    // No table, no word: only the pitch tables are checked.
    EXPECT_FALSE(overCapacity(checkMission(mission("TarvikM54", 5000, 28.6, ""), TARVIK_DATA_DIR), {}, "t.csv"));
}

TEST(FlightOutlook, BoundsWhatTheAutopilotCanStillDo) {
    const double mu = 3.986004e14;
    const double earth = 6371e3;
    // An orbit already there needs nothing; raising the periapsis from 150
    // to 5000 km at a 5000 km apoapsis takes the difference of the speeds there.
    EXPECT_DOUBLE_EQ(periapsisRaise(mu, earth + 5000e3, earth + 5000e3, earth + 4999.9e3), 0);
    const double ra = earth + 5000e3, rp = earth + 150e3;
    const double expected = std::sqrt(mu / ra) - std::sqrt(2 * mu * rp / (ra * (ra + rp)));
    EXPECT_NEAR(periapsisRaise(mu, ra, rp, ra), expected, 1e-9);
    EXPECT_NEAR(expected, 866, 5);
    // Below the target the apoapsis goes up first: a Hohmann transfer.
    const double r1 = earth + 300e3, r2 = earth + 1000e3;
    const double hohmann = std::sqrt(mu / r1) * (std::sqrt(2 * r2 / (r1 + r2)) - 1) +
                           std::sqrt(mu / r2) * (1 - std::sqrt(2 * r1 / (r1 + r2)));
    EXPECT_NEAR(periapsisRaise(mu, r1, r1, r2), hohmann, 1e-6);

    EXPECT_NEAR(deltaVLeft(4620, 20000, 12000), 4620 * std::log(2.5), 1e-9);
    EXPECT_EQ(deltaVLeft(4620, 20000, 0), 0);
    // Two burns of 10 s: each at most its thrust over the mass at its end.
    const double flow = 110100 / 4620.0;
    const double m1 = 20000 - 10 * flow, m2 = m1 - 10 * flow;
    EXPECT_NEAR(deltaVInPasses(2, 10, 110100, flow, 20000, 12000), 110100 * 10 / m1 + 110100 * 10 / m2, 1e-9);
    EXPECT_NEAR(deltaVInPasses(5, 10, 110100, flow, 20000, 100), 110100 * (100 / flow) / 19900, 1e-9)
        << "no more than the propellant holds";

    EXPECT_EQ(passesLeft(86400, 100, 8000), 11);
    EXPECT_EQ(passesLeft(50, 100, 8000), 0);
    EXPECT_EQ(passesLeft(8100, 100, 8000), 2);
}

// The command as a user runs it: TarvikM4 carries its pitch tables' limit
// to a low orbit, so one flight settles it; the table names the limit, and
// the plot's script is there to draw it.
TEST(CapacityCommand, NamesALimitOfThePitchTablesAndWritesItsTables) {
    const fs::path dir = fs::temp_directory_path() / ("tarvik-capacity-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string cmd = "cd '" + dir.string() + "' && '" TARVIK_SIM_EXE
                            "' capacity TarvikM4 --pad LC37B --inclination 51.6 --altitudes 300,1049 "
                            "--out c > out.txt 2> err.txt";
    const int raw = std::system(cmd.c_str());
    auto read = [](const fs::path& p) {
        std::ifstream in(p);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    ASSERT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << read(dir / "err.txt");
    const std::vector<CapacityRow> rows = parseCapacityCsv(read(dir / "c/capacity.csv"), "capacity.csv");
    ASSERT_FALSE(rows.empty()) << read(dir / "err.txt");
    EXPECT_EQ(rows[0].launcher, "TarvikM4");
    EXPECT_EQ(rows[0].altitudeKm, 300);
    EXPECT_EQ(rows[0].limit, CapacityLimit::PitchTables);
    EXPECT_DOUBLE_EQ(rows[0].capacityKg, 3000);
    EXPECT_EQ(rows[0].flights, 1);
    const std::string out = read(dir / "out.txt");
    EXPECT_NE(out.find("| 300 | 3000 (pitch tables) |"), std::string::npos) << out;
    EXPECT_NE(out.find("not searched: TarvikM4 to 1049 km (its autopilot's targets are below 1049 km)"),
              std::string::npos)
        << out;
    EXPECT_NE(read(dir / "c/plots/capacity.gp").find("title \"TarvikM4\""), std::string::npos);
    if (!::testing::Test::HasFailure())
        fs::remove_all(dir);
}
