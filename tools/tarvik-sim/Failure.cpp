#include "Failure.h"

#include <iostream>
#include <streambuf>

#include "sim/InputText.h"

namespace tarviksim {

namespace {

class Discard : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// stderr's own buffer once the rest is silenced.
std::streambuf* g_failures = nullptr;

}  // namespace

int failWith(const std::string& message, int status) {
    constexpr size_t longest = 1000;
    std::string line = message;
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    line = host::printable(line);
    if (line.size() > longest)
        line = line.substr(0, longest) + "...";
    std::ostream out(g_failures ? g_failures : std::cerr.rdbuf());
    out << "tarvik-sim: " << line << '\n' << std::flush;
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

void silenceAllButFailures() {
    if (g_failures)
        return;
    std::cout << std::flush;
    // Never destroyed: the streams flush into it until the very end of the program.
    static Discard* const discard = new Discard;
    g_failures = std::cerr.rdbuf(discard);
    std::cout.rdbuf(discard);
    std::clog.rdbuf(discard);
}

}  // namespace tarviksim
