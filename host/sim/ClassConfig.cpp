#include "ClassConfig.h"

#include <cmath>
#include <sstream>
#include <vector>

#include "InputText.h"
#include "NumberText.h"
#include "PathLookup.h"
#include "Simulation.h"

namespace host {

namespace {

std::string quoted(const std::string& classKey) {
    return "class " + quote(classKey);
}

// What a class may say of its vessel. Masses and sizes are above 0; no drag,
// area or moment is negative; and no number is so large that the physics'
// products of them leave the range of a double.
constexpr double maxValue = 1e12;

enum class Sign { Any, NotNegative, Positive };

std::vector<double> numbers(const ItemFile& cfg, const Item& item, size_t count, const std::string& classKey,
                            Sign sign = Sign::Any) {
    std::istringstream in(item.value);
    std::vector<double> values;
    std::string token;
    while (in >> token) {
        double v = 0;
        if (!parseNumber(token, v))
            throw InputError(cfg.path, item.line,
                             quoted(classKey) + ": bad number " + quote(token) + " for " + item.key);
        const char* problem = nullptr;
        if (sign == Sign::Positive && !(v > 0))
            problem = " must be above 0";
        else if (sign == Sign::NotNegative && v < 0)
            problem = " must not be negative";
        else if (std::fabs(v) > maxValue)
            problem = " must not be beyond 1e12";
        if (problem)
            throw InputError(cfg.path, item.line, quoted(classKey) + ": " + item.key + problem + " (" + token + ")");
        values.push_back(v);
    }
    if (values.size() != count)
        throw InputError(cfg.path, item.line,
                         quoted(classKey) + ": " + item.key + " needs " + std::to_string(count) + " numbers");
    return values;
}

VECTOR3 vec(const std::vector<double>& v, size_t i) {
    return _V(v[i], v[i + 1], v[i + 2]);
}

}  // namespace

ItemFile readClassConfig(const std::string& dataDir, const std::string& classKey) {
    std::string configDir = dataDir + "/Config";
    if (!isSafeRelativeName(classKey))
        throw InputError("", 0, quoted(classKey) + ": not a valid class name");
    std::string path = findFile(configDir, classKey + ".cfg");
    ItemFile cfg;
    if (path.empty() || !readItemFile(path, cfg))
        throw InputError("", 0, quoted(classKey) + ": cannot read " + joinPath(configDir, classKey + ".cfg"));
    return cfg;
}

std::string classModule(const ItemFile& cfg) {
    const Item* item = cfg.find("Module");
    return item ? item->value : std::string();
}

void applyClassItems(VesselData& v, const ItemFile& cfg, const std::string& classKey) {
    ClassCaps& caps = v.caps;
    for (const Item& item : cfg.items) {
        const std::string& k = item.key;
        if (equalsNoCase(k, "Mass")) {
            caps.emptyMass = numbers(cfg, item, 1, classKey, Sign::Positive)[0];
        } else if (equalsNoCase(k, "Size")) {
            caps.size = numbers(cfg, item, 1, classKey, Sign::Positive)[0];
        } else if (equalsNoCase(k, "PMI")) {
            caps.pmi = vec(numbers(cfg, item, 3, classKey, Sign::Positive), 0);
            caps.pmiSet = true;
        } else if (equalsNoCase(k, "CrossSections")) {
            caps.crossSections = vec(numbers(cfg, item, 3, classKey, Sign::NotNegative), 0);
        } else if (equalsNoCase(k, "CW")) {
            auto n = numbers(cfg, item, 4, classKey, Sign::NotNegative);
            for (int i = 0; i < 4; ++i)
                caps.cw[i] = n[i];
        } else if (equalsNoCase(k, "RotDrag")) {
            caps.rotDrag = vec(numbers(cfg, item, 3, classKey, Sign::NotNegative), 0);
        } else if (equalsNoCase(k, "TouchdownPoints")) {
            auto n = numbers(cfg, item, 9, classKey);
            for (size_t i = 0; i < 3; ++i)
                caps.touchdown[i] = vec(n, 3 * i);
        } else if (equalsNoCase(k, "Propellant")) {
            double mass = numbers(cfg, item, 1, classKey, Sign::NotNegative)[0];
            auto tank = std::make_unique<Propellant>();
            tank->maxMass = tank->mass = mass;
            v.propellants.push_back(std::move(tank));
        } else if (equalsNoCase(k, "EnableFocus")) {
            if (equalsNoCase(item.value, "true"))
                caps.focusEnabled = true;
            else if (equalsNoCase(item.value, "false"))
                caps.focusEnabled = false;
            else
                throw InputError(cfg.path, item.line, quoted(classKey) + ": EnableFocus must be true or false");
        } else if (equalsNoCase(k, "Mesh")) {
            MeshEntry mesh;
            mesh.name = item.value;
            mesh.present = true;
            v.meshes.push_back(mesh);
        }
    }
}

}  // namespace host
