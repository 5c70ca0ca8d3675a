#include "Failure.h"

#include <iostream>

#include "sim/InputText.h"

namespace tarviksim {

int failWith(const std::string& message, int status) {
    constexpr size_t longest = 1000;
    std::string line = message;
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    line = host::printable(line);
    if (line.size() > longest)
        line = line.substr(0, longest) + "...";
    std::cerr << "tarvik-sim: " << line << '\n';
    return status;
}

std::string describe(const host::InputError& e) {
    std::string where = e.file.empty() ? "" : host::printable(e.file) + ":";
    if (!e.file.empty() && e.line > 0)
        where += std::to_string(e.line) + ":";
    std::string problem = e.what();
    if (!where.empty() && problem.rfind(where, 0) == 0)
        return problem;
    return where.empty() ? problem : where + " " + problem;
}

}  // namespace tarviksim
