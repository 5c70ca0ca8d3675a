#include "Dispersions.h"

#include <cmath>
#include <sstream>

#include "FileIO.h"
#include "InputText.h"
#include "NumberText.h"
#include "Simulation.h"

namespace host {

namespace {

// A normal factor this many sigmas from 1 is drawn again: no factor reaches
// zero or below, and the spread is smaller by less than 0.1%.
constexpr double kNormalLimit = 4;
constexpr double kMaxSigma = 0.2;        // 20%: 4 sigma stays clear of zero
constexpr double kMaxDelay = 3600;       // s
constexpr double kMaxUniform = 1;        // +100%

const std::vector<DispersionName> kNames = {
    // name               seconds  what it scales
    {"thrust",            false, "every engine's thrust (main group and boosters)"},
    {"thrust.main",       false, "the thrust of the engines of the main thruster group"},
    {"thrust.boosters",   false, "the thrust of the engines in no thruster group (solid boosters, side cores)"},
    {"isp",               false, "every engine's specific impulse"},
    {"isp.main",          false, "the specific impulse of the main group's engines"},
    {"isp.boosters",      false, "the specific impulse of the engines in no group"},
    {"mass.empty",        false, "each empty mass a module sets"},
    {"propellant.load",   false, "what each tank holds when it is created, and its capacity"},
    {"drag",              false, "the drag coefficients a module sets"},
    {"density",           false, "the air's density"},
    {"launch.delay",      true,  "the pilot's wait before pressing LAUNCH [s]"},
};

int nameIndex(const std::string& name) {
    for (size_t i = 0; i < kNames.size(); ++i)
        if (name == kNames[i].name)
            return static_cast<int>(i);
    return -1;
}

std::string knownNames() {
    std::string s;
    for (const DispersionName& n : kNames) {
        if (!s.empty())
            s += ", ";
        s += n.name;
    }
    return s;
}

// "1.5%" -> 0.015; false for anything else.
bool percent(const std::string& word, double& fraction) {
    if (word.size() < 2 || word.back() != '%')
        return false;
    double v = 0;
    if (!parseNumber(word.substr(0, word.size() - 1), v))
        return false;
    fraction = v / 100;
    return true;
}

uint64_t mix(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

uint64_t nameHash(const char* name) {  // FNV-1a
    uint64_t h = 0xcbf29ce484222325ULL;
    for (const char* c = name; *c; ++c)
        h = (h ^ static_cast<unsigned char>(*c)) * 0x100000001b3ULL;
    return h;
}

DispersionLine parseLine(const std::vector<std::string>& words, const std::string& path, int lineNo) {
    auto refuse = [&](const std::string& problem) { throw InputError(path, lineNo, problem); };
    DispersionLine d;
    d.name = words[0];
    d.line = lineNo;
    const int index = nameIndex(d.name);
    if (index < 0)
        refuse("unknown value " + quote(d.name) + " (known: " + knownNames() + ")");
    if (kNames[index].seconds) {
        const std::string usage = d.name + " takes bounds in seconds: " + d.name + " LOW HIGH s";
        if (words.size() != 4 || words[3] != "s")
            refuse(usage);
        if (!parseNumber(words[1], d.low) || !parseNumber(words[2], d.high))
            refuse(usage);
        if (d.low < 0 || d.high < d.low || d.high > kMaxDelay)
            refuse(d.name + " bounds " + words[1] + " to " + words[2] +
                   " s are not 0 <= LOW <= HIGH <= 3600 s");
        d.uniform = true;
        return d;
    }
    const std::string usage = d.name + " takes a 1-sigma (" + d.name + " 1%) or bounds (" + d.name + " -2% 2%)";
    if (words.size() == 2) {
        if (!percent(words[1], d.sigma))
            refuse(usage + ", in percent: " + quote(words[1]) + " is not one");
        if (d.sigma < 0 || d.sigma > kMaxSigma)
            refuse(d.name + " 1-sigma " + words[1] + " is not from 0% to 20%");
        return d;
    }
    if (words.size() == 3) {
        for (int i : {1, 2})
            if (!percent(words[i], i == 1 ? d.low : d.high))
                refuse(usage + ", in percent: " + quote(words[i]) + " is not one");
        if (d.low <= -1 || d.high < d.low || d.high > kMaxUniform)
            refuse(d.name + " bounds " + words[1] + " to " + words[2] +
                   " are not above -100%, rising, and at most 100%");
        d.uniform = true;
        return d;
    }
    refuse(usage);
    return d;
}

}  // namespace

const std::vector<DispersionName>& dispersionNames() {
    return kNames;
}

DispersionFile parseDispersions(const std::string& text, const std::string& path) {
    DispersionFile file;
    file.path = path;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        if (const size_t hash = raw.find('#'); hash != std::string::npos)
            raw.erase(hash);
        std::istringstream words(raw);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty())
            continue;
        DispersionLine d = parseLine(w, path, lineNo);
        for (const DispersionLine& earlier : file.lines)
            if (earlier.name == d.name)
                throw InputError(path, lineNo,
                                 d.name + " is given twice (first on line " + std::to_string(earlier.line) + ")");
        file.lines.push_back(d);
    }
    return file;
}

DispersionFile readDispersions(const std::string& path) {
    return parseDispersions(readTextFile(path, "dispersion file"), path);
}

double Dispersion::value(const char* name) const {
    const int i = nameIndex(name);
    if (i < 0 || static_cast<size_t>(i) >= drawn.size())
        return kNames[i < 0 ? 0 : i].seconds ? 0 : 1;
    return drawn[i];
}

Dispersion noDispersion() {
    Dispersion d;
    for (const DispersionName& n : kNames)
        d.drawn.push_back(n.seconds ? 0 : 1);
    return d;
}

Dispersion drawDispersion(const DispersionFile& file, uint64_t seed) {
    Dispersion d = noDispersion();
    d.seed = seed;
    for (const DispersionLine& line : file.lines) {
        const int i = nameIndex(line.name);
        if (i < 0)
            continue;
        Random random(mix(seed) ^ nameHash(kNames[i].name));
        if (kNames[i].seconds) {
            d.drawn[i] = line.low + (line.high - line.low) * random.uniform();
        } else if (line.uniform) {
            d.drawn[i] = 1 + (line.low + (line.high - line.low) * random.uniform());
        } else {
            double z = random.normal();
            while (std::fabs(z) > kNormalLimit)
                z = random.normal();
            d.drawn[i] = 1 + line.sigma * z;
        }
    }
    return d;
}

uint64_t runSeed(uint64_t seed, uint64_t index) {
    return mix(seed + 0x9e3779b97f4a7c15ULL * (index + 1));
}

uint64_t Random::next() {
    state_ += 0x9e3779b97f4a7c15ULL;
    return mix(state_);
}

double Random::uniform() {
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

double Random::normal() {
    // Marsaglia's polar method: only a logarithm and square roots, one of
    // the pair kept (each draw stands alone, whatever came before).
    while (true) {
        const double u = 2 * uniform() - 1;
        const double v = 2 * uniform() - 1;
        const double s = u * u + v * v;
        if (s > 0 && s < 1)
            return u * std::sqrt(-2 * std::log(s) / s);
    }
}

}  // namespace host
