// The host files the modules read ("temp", custom payload files). Whatever a
// file holds, every read gives a finite number, a string that fits the
// module's 256-character buffer, or nothing; and what was read, written
// again, reads back the same.
#include <cctype>
#include <cmath>
#include <cstring>

#include "FuzzSupport.h"
#include "Orbitersdk.h"
#include "sim/Simulation.h"

namespace {

char* cs(const std::string& s) {
    return const_cast<char*>(s.c_str());
}

const char* const keys[] = {"PLDWEIGHT", "Z_OFFSET", "PAYLOAD", "MESH", "Fairing_attached", "NAME", "MASS",
                            "SIZE",      "CONFIG",   "X",       "A"};

struct Values {
    std::string text;
    double number = 0;
    int integer = 0;
    bool flag = false;
    VECTOR3 vec{};
    bool has[5] = {};
};

Values readValues(FILEHANDLE f, const std::string& key, const std::string& suffix) {
    Values v;
    char buffer[300];
    std::memset(buffer, 0x55, sizeof buffer);
    if ((v.has[0] = oapiReadItem_string(f, cs(key + suffix + (suffix.empty() ? "" : "S")), buffer))) {
        const size_t n = strnlen(buffer, sizeof buffer);
        if (n > 255)
            fuzz::fault("a string of " + std::to_string(n) + " characters for " + key);
        for (size_t i = 256; i < sizeof buffer; ++i)
            if (buffer[i] != 0x55)
                fuzz::fault("a string read past its buffer for " + key);
        v.text = buffer;
    }
    v.has[1] = oapiReadItem_float(f, cs(key + suffix + (suffix.empty() ? "" : "F")), v.number);
    if (v.has[1] && !std::isfinite(v.number))
        fuzz::fault("a number that is not finite for " + key);
    v.has[2] = oapiReadItem_int(f, cs(key + suffix + (suffix.empty() ? "" : "I")), v.integer);
    v.has[3] = oapiReadItem_bool(f, cs(key + suffix + (suffix.empty() ? "" : "B")), v.flag);
    v.has[4] = oapiReadItem_vec(f, cs(key + suffix + (suffix.empty() ? "" : "V")), v.vec);
    if (v.has[4] && !(std::isfinite(v.vec.x) && std::isfinite(v.vec.y) && std::isfinite(v.vec.z)))
        fuzz::fault("a vector that is not finite for " + key);
    return v;
}

void check(FILEHANDLE in, const std::string& echoName) {
    Values read[std::size(keys)];
    FILEHANDLE out = oapiOpenFile(echoName.c_str(), FILE_OUT, ROOT);
    for (size_t k = 0; k < std::size(keys); ++k) {
        read[k] = readValues(in, keys[k], "");
        const Values& v = read[k];
        const std::string key = std::string(keys[k]) + "_";
        if (v.has[0])
            oapiWriteItem_string(out, cs(key + "S"), cs(v.text));
        if (v.has[1])
            oapiWriteItem_float(out, cs(key + "F"), v.number);
        if (v.has[2])
            oapiWriteItem_int(out, cs(key + "I"), v.integer);
        if (v.has[3])
            oapiWriteItem_bool(out, cs(key + "B"), v.flag);
        if (v.has[4])
            oapiWriteItem_vec(out, cs(key + "V"), v.vec);
    }
    oapiCloseFile(out, FILE_OUT);
    FILEHANDLE echo = oapiOpenFile(echoName.c_str(), FILE_IN, ROOT);
    for (size_t k = 0; k < std::size(keys); ++k) {
        const Values again = readValues(echo, keys[k], "_");
        const Values& v = read[k];
        for (int i = 0; i < 5; ++i)
            if (again.has[i] != v.has[i])
                fuzz::fault(std::string("an item of ") + keys[k] + " did not read back");
        // Written as "KEY = value", a value that ends in blanks (one cut at 255
        // characters) reads back without them.
        std::string text = v.text;
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
            text.pop_back();
        if (again.text != text || (v.has[1] && again.number != v.number) || again.integer != v.integer ||
            again.flag != v.flag || again.vec.x != v.vec.x || again.vec.y != v.vec.y || again.vec.z != v.vec.z)
            fuzz::fault(std::string("an item of ") + keys[k] + " read back otherwise");
    }
    oapiCloseFile(echo, FILE_IN);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string root = fuzz::workDir() + "/root";
    fuzz::writeFile(root + "/temp", data, size);
    fuzz::writeFile(root + "/Config/tarvik/custom1.cfg", data, size);
    host::Simulation sim(fuzz::dataDir, 60, root);
    for (const auto& [name, where] : {std::pair{"temp", ROOT}, std::pair{"tarvik/custom1.cfg", CONFIG}}) {
        FILEHANDLE in = oapiOpenFile(name, FILE_IN, where);
        check(in, "echo");
        oapiCloseFile(in, FILE_IN);
    }
    return 0;
}
