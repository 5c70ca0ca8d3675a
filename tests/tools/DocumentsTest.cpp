// What the documents say of tarvik-sim's outputs, held against the outputs:
// the columns docs/tarvik-sim.md lists for the telemetry are the ones a run
// writes, and those docs/matrix.md lists for results.csv the matrix's.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "Matrix.h"

namespace fs = std::filesystem;

namespace {

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

// The text of a document from the line starting with `from` to the next line starting with `to`.
std::string section(const std::string& document, const std::string& from, const std::string& to) {
    const size_t start = document.find("\n" + from);
    EXPECT_NE(start, std::string::npos) << from;
    if (start == std::string::npos)
        return "";
    const size_t end = document.find("\n" + to, start + 1);
    return document.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The names in backquotes in the first cell of each table row, in order.
std::vector<std::string> firstColumnNames(const std::string& text) {
    std::vector<std::string> names;
    const std::regex name("`([a-z_]+)`");
    for (const std::string& line : split(text, '\n')) {
        if (line.rfind("| `", 0) != 0)
            continue;
        const std::string cell = line.substr(1, line.find('|', 1) - 1);
        for (std::sregex_iterator m(cell.begin(), cell.end(), name), end; m != end; ++m)
            names.push_back((*m)[1]);
    }
    return names;
}

// The names of a paragraph listing them after a colon: "...: `a, b, c`".
std::vector<std::string> listedNames(const std::string& text) {
    std::vector<std::string> names;
    const size_t lead = text.find(": `");
    if (lead == std::string::npos)
        return names;
    const size_t open = lead + 2, close = text.find('`', open + 1);
    if (close == std::string::npos)
        return names;
    std::string list = text.substr(open + 1, close - open - 1);
    std::replace(list.begin(), list.end(), '\n', ' ');
    for (std::string name : split(list, ',')) {
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        names.push_back(name);
    }
    return names;
}

}  // namespace

TEST(Documents, TheTelemetryColumnsAreTheOnesARunWrites) {
    const fs::path dir = fs::temp_directory_path() / ("tarvik-docs-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string cmd = "cd '" + dir.string() +
                            "' && '" TARVIK_SIM_EXE "' --data '" TARVIK_DATA_DIR
                            "' TarvikM52-LC37B --duration 1 > out.txt 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << read(dir / "out.txt");
    const std::string csv = read(dir / "tarvik-run/telemetry.csv");
    const std::vector<std::string> written = split(csv.substr(0, csv.find('\n')), ',');

    const std::string documented = section(read(TARVIK_DOCS_DIR "/tarvik-sim.md"), "**Telemetry**", "**Summary**");
    EXPECT_EQ(firstColumnNames(documented), written) << "docs/tarvik-sim.md's telemetry table";
    fs::remove_all(dir);
}

TEST(Documents, TheMatrixResultsColumnsAreTheOnesItWrites) {
    const std::string csv = tarviksim::resultsCsv({});
    const std::vector<std::string> written = split(csv.substr(0, csv.find('\n')), ',');
    const std::string documented = section(read(TARVIK_DOCS_DIR "/matrix.md"), "`results.csv` columns", "\n");
    EXPECT_EQ(listedNames(documented), written) << "docs/matrix.md's results.csv columns";
}
