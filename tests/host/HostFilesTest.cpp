// The host files the modules share ("temp", custom payload files): items
// written and read back, the configuration folder with its fallback, and
// files that cannot be read or may not be written.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "HostTestSupport.h"
#include "Orbitersdk.h"
#include "sim/FileIO.h"

using namespace hosttest;

namespace {

char* cs(const char* s) {
    return const_cast<char*>(s);
}

}  // namespace

class HostFiles : public HostTest {};

TEST_F(HostFiles, ItemsWrittenReadBackExactly) {
    FILEHANDLE out = oapiOpenFile("temp", FILE_OUT);
    oapiWriteItem_float(out, cs("PLDWEIGHT"), 1.0 / 3.0);
    oapiWriteItem_int(out, cs("Fairing_attached"), 1);
    oapiWriteItem_string(out, cs("PAYLOAD"), cs("tarvik/sat"));
    oapiWriteItem_bool(out, cs("FLAG"), true);
    oapiWriteItem_vec(out, cs("OFS"), _V(1, -2.5, 3));
    oapiCloseFile(out, FILE_OUT);

    FILEHANDLE in = oapiOpenFile("temp", FILE_IN);
    double weight = 0;
    int fairing = 0;
    char payload[256] = "";
    bool flag = false;
    VECTOR3 ofs{};
    EXPECT_TRUE(oapiReadItem_float(in, cs("pldweight"), weight));  // keys in any letter case
    EXPECT_EQ(weight, 1.0 / 3.0);
    EXPECT_TRUE(oapiReadItem_int(in, cs("Fairing_attached"), fairing));
    EXPECT_EQ(fairing, 1);
    EXPECT_TRUE(oapiReadItem_string(in, cs("PAYLOAD"), payload));
    EXPECT_STREQ(payload, "tarvik/sat");
    EXPECT_TRUE(oapiReadItem_bool(in, cs("FLAG"), flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(oapiReadItem_vec(in, cs("OFS"), ofs));
    EXPECT_EQ(ofs.y, -2.5);
    oapiCloseFile(in, FILE_IN);
}

TEST_F(HostFiles, ConfigurationFilesFallBackToTheDataFolder) {
    char name[256] = "";
    FILEHANDLE in = oapiOpenFile("probe/custom.cfg", FILE_IN, CONFIG);
    EXPECT_TRUE(oapiReadItem_string(in, cs("NAME"), name));
    EXPECT_STREQ(name, "Data copy");
    oapiCloseFile(in, FILE_IN);

    FILEHANDLE out = oapiOpenFile("probe/custom.cfg", FILE_OUT, CONFIG);
    oapiWriteItem_string(out, cs("NAME"), cs("My payload"));
    oapiCloseFile(out, FILE_OUT);
    EXPECT_TRUE(std::filesystem::exists(root.path + "/Config/probe/custom.cfg"));

    in = oapiOpenFile("probe/custom.cfg", FILE_IN, CONFIG);
    EXPECT_TRUE(oapiReadItem_string(in, cs("NAME"), name));
    EXPECT_STREQ(name, "My payload");
    oapiCloseFile(in, FILE_IN);
}

TEST_F(HostFiles, AMissingFileGivesAHandleOnWhichEveryReadFails) {
    FILEHANDLE in = oapiOpenFile("temp", FILE_IN);
    ASSERT_NE(in, nullptr);
    double d = 7;
    char text[16] = "kept";
    EXPECT_FALSE(oapiReadItem_float(in, cs("PLDWEIGHT"), d));
    EXPECT_FALSE(oapiReadItem_string(in, cs("PAYLOAD"), text));
    EXPECT_EQ(d, 7);
    EXPECT_STREQ(text, "kept");
    oapiCloseFile(in, FILE_IN);
    EXPECT_FALSE(oapiReadItem_float(in, cs("PLDWEIGHT"), d));  // a closed handle reads nothing
    oapiCloseFile(in, FILE_IN);
}

TEST_F(HostFiles, NumbersThatAreNotFiniteOrDoNotFitReadAsAbsent) {
    writeFile("temp", "PLDWEIGHT = nan\nZ_OFFSET = -inf\nHUGE = 1e999\nV = 1 nan 3\nN = 99999999999\nOK = 2.5\n");
    FILEHANDLE in = oapiOpenFile("temp", FILE_IN);
    double d = 7;
    for (const char* key : {"PLDWEIGHT", "Z_OFFSET", "HUGE"})
        EXPECT_FALSE(oapiReadItem_float(in, cs(key), d)) << key;
    EXPECT_EQ(d, 7);
    VECTOR3 v = _V(1, 2, 3);
    EXPECT_FALSE(oapiReadItem_vec(in, cs("V"), v));
    EXPECT_EQ(v.y, 2);
    int n = 4;
    EXPECT_FALSE(oapiReadItem_int(in, cs("N"), n));
    EXPECT_EQ(n, 4);
    EXPECT_TRUE(oapiReadItem_float(in, cs("OK"), d));
    EXPECT_EQ(d, 2.5);
    oapiCloseFile(in, FILE_IN);
}

TEST_F(HostFiles, NamesCannotReachOutsideTheRootFolder) {
    FILEHANDLE out = oapiOpenFile("../escaped", FILE_OUT);
    oapiWriteItem_int(out, cs("X"), 1);
    oapiCloseFile(out, FILE_OUT);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(root.path).parent_path() / "escaped"));
}

TEST_F(HostFiles, AppendingKeepsWhatWasThereAndLongValuesAreCut) {
    FILEHANDLE out = oapiOpenFile("temp", FILE_OUT);
    oapiWriteItem_string(out, cs("A"), cs(std::string(400, 'x').c_str()));
    oapiCloseFile(out, FILE_OUT);
    out = oapiOpenFile("temp", FILE_APP);
    oapiWriteItem_int(out, cs("B"), 2);
    oapiCloseFile(out, FILE_APP);

    FILEHANDLE in = oapiOpenFile("temp", FILE_IN);
    char text[512];
    int b = 0;
    EXPECT_TRUE(oapiReadItem_string(in, cs("A"), text));
    EXPECT_EQ(std::string(text).size(), 255u);
    EXPECT_TRUE(oapiReadItem_int(in, cs("B"), b));
    EXPECT_EQ(b, 2);
    oapiCloseFile(in, FILE_IN);
}

// A module cannot be told that its file was not written: the run ends with
// it at the next step, the file outside the root or the pipe untouched.
TEST_F(HostFiles, AFileThatMayNotBeWrittenEndsTheRunAndTouchesNothing) {
    namespace fs = std::filesystem;
    TempDir outside;
    const std::string secret = outside.path + "/secret";
    std::ofstream(secret) << "keep me\n";
    fs::create_symlink(secret, root.path + "/temp");
    ASSERT_EQ(::mkfifo((root.path + "/pipe").c_str(), 0600), 0);
    fs::create_symlink(outside.path, root.path + "/Config");

    const struct {
        const char* name;
        PathRoot where;
        const char* named;  // in the message
    } files[] = {{"temp", ROOT, "/temp: "}, {"pipe", ROOT, "/pipe: "}, {"tarvik/custom1.cfg", CONFIG, "/Config/tarvik: "}};
    for (const auto& f : files) {
        FILEHANDLE out = oapiOpenFile(f.name, FILE_OUT, f.where);
        oapiWriteItem_int(out, cs("X"), 1);
        oapiCloseFile(out, FILE_OUT);
        try {
            sim->step();
            ADD_FAILURE() << f.name << " was written";
        } catch (const host::InputError& e) {
            EXPECT_NE(std::string(e.what()).find(f.named), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(readFile("temp"), "keep me\n");
    EXPECT_TRUE(fs::is_fifo(root.path + "/pipe"));
    EXPECT_FALSE(fs::exists(outside.path + "/tarvik"));
    for (const auto& entry : fs::recursive_directory_iterator(root.path))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
    EXPECT_NO_THROW(sim->step());  // each failure ends the run once

    // A link that stays inside the root folder is followed, and stays a link.
    fs::remove(root.path + "/temp");
    fs::create_symlink("handoff.txt", root.path + "/temp");
    FILEHANDLE out = oapiOpenFile("temp", FILE_OUT);
    oapiWriteItem_int(out, cs("X"), 2);
    oapiCloseFile(out, FILE_OUT);
    EXPECT_NO_THROW(sim->step());
    EXPECT_TRUE(fs::is_symlink(root.path + "/temp"));
    EXPECT_EQ(readFile("handoff.txt"), "X = 2\n");
}

// A file the module reads must be a regular file of sensible size: a pipe
// is not waited on, and the pilot is told it was not read.
TEST_F(HostFiles, APipeOrAHugeFileIsNotReadAndThePilotIsTold) {
    std::vector<std::string> warnings;
    sim->setWarningHandler([&](const std::string& w) { warnings.push_back(w); });
    {
        std::ofstream big(root.path + "/temp", std::ios::binary);
        big.seekp(static_cast<std::streamoff>(host::maxInputBytes));
        big << "PLDWEIGHT = 5\n";
    }
    FILEHANDLE in = oapiOpenFile("temp", FILE_IN);
    double d = 7;
    EXPECT_FALSE(oapiReadItem_float(in, cs("PLDWEIGHT"), d));
    oapiCloseFile(in, FILE_IN);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("temp: not read: larger than 64 MiB"), std::string::npos) << warnings[0];
}
