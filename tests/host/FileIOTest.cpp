// Files the host reads and writes as a whole: an output replaces its file
// only once complete, stays in its folder and never replaces a device, a
// pipe or an input; input files are regular files of sensible content and
// size (a folder is no script; a dialog of 40,000 pixels is no dialog; a
// bitmap lies beside its script); temporaries never outlive their run.
#include <sys/stat.h>

#include "HostTestSupport.h"
#include "sim/FileIO.h"
#include "sim/Temporaries.h"
#include "window/Bmp.h"
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

// Where an output may go: a regular file or nothing, inside its folder,
// never over what the run reads.
TEST_F(FileIO, AnOutputNeverLeavesItsFolderNorReplacesADeviceAPipeOrAnInput) {
    namespace fs = std::filesystem;
    TempDir outside;
    const std::string secret = outside.path + "/secret";
    std::ofstream(secret) << "keep me\n";
    auto refused = [&](const std::string& path, const std::string& within, const std::string& why) {
        try {
            host::writeFileWhole(path, "new\n", "test output", within);
            ADD_FAILURE() << path << " was written";
        } catch (const host::InputError& e) {
            EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
        }
    };
    fs::create_symlink(secret, root.path + "/out.txt");
    refused(root.path + "/out.txt", "", "a symbolic link out of the folder");
    fs::create_symlink(outside.path, root.path + "/elsewhere");
    refused(root.path + "/elsewhere/x.txt", root.path, "it lies outside the folder");
    refused(root.path + "/../x.txt", root.path, "it lies outside the folder");
    ASSERT_EQ(::mkfifo((root.path + "/pipe").c_str(), 0600), 0);
    refused(root.path + "/pipe", "", "not a regular file");
    refused("/dev/null", "", "not a regular file");
    EXPECT_EQ(readFile("../" + fs::path(outside.path).filename().string() + "/secret"), "keep me\n");
    EXPECT_TRUE(fs::is_fifo(root.path + "/pipe"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    {
        host::ProtectedInputs inputs;
        inputs.file(writeFile("in.scn", "scenario\n"), "the scenario");
        fs::create_directories(root.path + "/data/Config");
        fs::create_directories(root.path + "/data/runs");
        inputs.dataFolder(root.path + "/data", root.path + "/data/runs");
        refused(root.path + "/in.scn", "", "would overwrite the scenario this run reads");
        fs::create_hard_link(root.path + "/in.scn", root.path + "/alias.scn");
        refused(root.path + "/alias.scn", "", "would overwrite the scenario");
        refused(root.path + "/data/Config/tarvikM52.cfg", "", "the class configurations this run reads");
        refused(root.path + "/data/notes.txt", "", "the data folder this run reads");
        EXPECT_NO_THROW(host::writeFileWhole(root.path + "/data/runs/final.scn", "x\n", "test output"));
    }
    EXPECT_NO_THROW(host::writeFileWhole(root.path + "/in.scn", "free again\n", "test output"));

    // A link inside the folder is followed: the file it leads to is replaced, the link stays.
    fs::remove(root.path + "/out.txt");
    fs::create_symlink("real.txt", root.path + "/out.txt");
    host::writeFileWhole(root.path + "/out.txt", "through\n", "test output", root.path);
    EXPECT_TRUE(fs::is_symlink(root.path + "/out.txt"));
    EXPECT_EQ(readFile("real.txt"), "through\n");

    // Folders made for an output stay inside theirs, too.
    EXPECT_THROW(host::createFolders(root.path + "/elsewhere/sub", root.path), host::InputError);
    EXPECT_FALSE(fs::exists(outside.path + "/sub"));
    EXPECT_NO_THROW(host::createFolders(root.path + "/a/b", root.path));
    EXPECT_TRUE(fs::is_directory(root.path + "/a/b"));
}

// An input is a regular file of at most the limit: a pipe is not waited on,
// a device that never ends is not read.
TEST_F(FileIO, AnInputIsARegularFileUnderTheLimit) {
    ASSERT_EQ(::mkfifo((root.path + "/pipe").c_str(), 0600), 0);
    std::string content, why;
    EXPECT_FALSE(host::readInputFile(root.path + "/pipe", content, &why));
    EXPECT_EQ(why, "not a regular file");
    EXPECT_FALSE(host::readInputFile("/dev/zero", content, &why));
    EXPECT_EQ(why, "not a regular file");
    writeFile("big.txt", std::string(5000, 'x'));
    EXPECT_FALSE(host::readInputFile(root.path + "/big.txt", content, &why, 4096));
    EXPECT_EQ(why, "larger than 4096 bytes");
    ASSERT_TRUE(host::readInputFile(root.path + "/big.txt", content, &why, 5000));
    EXPECT_EQ(content.size(), 5000u);
    try {
        host::readTextFile(root.path + "/pipe", "script");
        ADD_FAILURE() << "a pipe was read";
    } catch (const host::InputError& e) {
        EXPECT_NE(std::string(e.what()).find("cannot read the script: not a regular file"), std::string::npos);
    }
    // A picture too (a custom payload's IMAGE names any file).
    EXPECT_FALSE(host::readBmp("/dev/zero", &why));
    EXPECT_EQ(why, "not a regular file");
    EXPECT_FALSE(host::readBmp(root.path + "/pipe"));
}

// The temporaries of outputs: known while held, so that an interrupt can
// remove them, and recognised by name when a killed run left them.
TEST_F(FileIO, TemporariesAreRemovedWhenHeldOrLeftBehind) {
    namespace fs = std::filesystem;
    {
        host::OutputFile out(root.path + "/held.txt", "test output");
        out.stream() << "half";
        EXPECT_EQ(std::distance(fs::directory_iterator(root.path), {}), 1);
        host::removeHeldTemporaries();
        EXPECT_EQ(std::distance(fs::directory_iterator(root.path), {}), 0);
    }
    fs::create_directories(root.path + "/sub/skipped");
    for (const char* name : {".events.log.tmp-AbC123", "sub/.final.scn.tmp-x9Y8z7", "sub/skipped/.a.tmp-123456"})
        writeFile(name, "left");
    for (const char* name : {"events.log", ".events.log.tmp-AbC12", "tmp-AbC123", ".x.tmp-AbC12!"})
        writeFile(name, "mine");
    const int removed = host::removeStaleTemporaries(
        root.path, [&](const std::string& folder) { return folder == root.path + "/sub/skipped"; });
    EXPECT_EQ(removed, 2);
    EXPECT_FALSE(fs::exists(root.path + "/.events.log.tmp-AbC123"));
    EXPECT_FALSE(fs::exists(root.path + "/sub/.final.scn.tmp-x9Y8z7"));
    EXPECT_TRUE(fs::exists(root.path + "/sub/skipped/.a.tmp-123456"));
    for (const char* name : {"events.log", ".events.log.tmp-AbC12", "tmp-AbC123", ".x.tmp-AbC12!"})
        EXPECT_TRUE(fs::exists(root.path + "/" + name)) << name;
}
