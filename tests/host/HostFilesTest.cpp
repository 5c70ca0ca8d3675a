// The host files the modules share ("temp", custom payload files): items
// written and read back, the configuration folder with its fallback, and
// files that cannot be read or may not be written.
#include <filesystem>

#include "HostTestSupport.h"
#include "Orbitersdk.h"

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
