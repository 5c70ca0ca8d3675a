// Files the host reads and writes as a whole: an output replaces its file
// only once complete, and input files are regular files of sensible content
// (a folder is no script; a dialog of 40,000 pixels is no dialog; a bitmap
// lies beside its script).
#include <sys/stat.h>

#include "HostTestSupport.h"
#include "sim/FileIO.h"
#include "window/ResourceScript.h"

using namespace hosttest;

class FileIO : public HostTest {};

TEST_F(FileIO, AnOutputReplacesItsFileOnlyWhenCommitted) {
    const std::string path = writeFile("out.txt", "old\n");
    {
        host::OutputFile out(path, "test output");
        out.stream() << "new\n";
        out.finish();
        EXPECT_EQ(readFile("out.txt"), "old\n");
    }  // dropped: the old file stays, and no temporary file is left
    EXPECT_EQ(readFile("out.txt"), "old\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.path), {}), 1);

    const mode_t mask = umask(022);
    host::OutputFile out(root.path + "/fresh.txt", "test output");
    out.stream() << "new\n";
    out.commit();
    umask(mask);
    EXPECT_EQ(readFile("fresh.txt"), "new\n");
    struct stat st {};
    ASSERT_EQ(stat((root.path + "/fresh.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);  // as any other file the user creates

    EXPECT_THROW(host::OutputFile(root.path, "test output"), host::InputError);                 // a folder
    EXPECT_THROW(host::OutputFile(root.path + "/no/such/x", "test output"), host::InputError);  // no folder
}

TEST_F(FileIO, AFolderIsNotAnInputFile) {
    for (auto read : {+[](const std::string& p) { host::readTextFile(p, "script"); },
                      +[](const std::string& p) { host::readResourceScript(p); }}) {
        try {
            read(root.path);
            ADD_FAILURE() << "a folder was read";
        } catch (const host::InputError& e) {
            EXPECT_NE(std::string(e.what()).find("not a regular file"), std::string::npos) << e.what();
        }
    }
}

TEST_F(FileIO, ResourceScriptSizesAreCappedWithTheLine) {
    const std::pair<const char*, int> cases[] = {
        {"dialog 1 \"x\" 40000 40000\nend\n", 1},
        {"dialog 1 \"x\" 100 100\n  picture 2 \"\" 0 0 40000 40000\nend\n", 2},
        {"dialog 1 \"x\" 100 100\n  edit 2 \"\" 5000 0 10 10\nend\n", 2},
    };
    for (const auto& [text, line] : cases) {
        try {
            host::parseResourceScript(text, "big.rc.txt");
            ADD_FAILURE() << "accepted: " << text;
        } catch (const host::InputError& e) {
            EXPECT_EQ(e.line, line) << e.what();
            EXPECT_NE(std::string(e.what()).find("to 4096"), std::string::npos) << e.what();
        }
    }
    EXPECT_NO_THROW(host::parseResourceScript("dialog 1 \"x\" 4096 4096\n  picture 2 \"\" 0 0 4096 4096\nend\n", "ok"));

    // A bitmap is a file beside the script, not anywhere on the machine.
    for (const char* text : {"bitmap 5 ../../secret.bmp\n", "bitmap 5 /etc/secret.bmp\n"})
        EXPECT_THROW(host::parseResourceScript(text, "/mods/x.rc.txt"), host::InputError) << text;
}
