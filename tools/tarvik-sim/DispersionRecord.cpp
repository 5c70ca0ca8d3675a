#include "DispersionRecord.h"

#include <cstdio>
#include <stdexcept>

namespace tarviksim {

nlohmann::ordered_json dispersionJson(const host::Dispersion& d) {
    nlohmann::ordered_json j;
    j["seed"] = d.seed;
    const auto& names = host::dispersionNames();
    for (size_t i = 0; i < names.size(); ++i)
        j[names[i].name] = i < d.drawn.size() ? d.drawn[i] : (names[i].seconds ? 0.0 : 1.0);
    return j;
}

host::Dispersion dispersionFromJson(const nlohmann::json& j) {
    if (!j.is_object() || !j.contains("seed") || !j["seed"].is_number_unsigned())
        throw std::runtime_error("a dispersion record without its seed");
    host::Dispersion d = host::noDispersion();
    d.seed = j["seed"].get<uint64_t>();
    const auto& names = host::dispersionNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (j.contains(names[i].name)) {
            if (!j[names[i].name].is_number())
                throw std::runtime_error(std::string("dispersion ") + names[i].name + " is not a number");
            d.drawn[i] = j[names[i].name].get<double>();
        }
    return d;
}

std::string dispersionLine(const host::Dispersion& d, const std::string& file) {
    std::string s = "seed " + std::to_string(d.seed);
    if (!file.empty())
        s += " (" + file + ")";
    return s + ": " + dispersionValues(d);
}

std::string dispersionValues(const host::Dispersion& d) {
    std::string values;
    const auto& names = host::dispersionNames();
    for (size_t i = 0; i < names.size() && i < d.drawn.size(); ++i) {
        if (d.drawn[i] == (names[i].seconds ? 0 : 1))
            continue;
        char text[64];
        std::snprintf(text, sizeof text, names[i].seconds ? "%.1f s" : "%.5f", d.drawn[i]);
        if (!values.empty())
            values += ", ";
        values.append(names[i].name).append(" ").append(text);
    }
    return values.empty() ? "every factor 1, no launch delay" : values;
}

}  // namespace tarviksim
