// The files of a run, checked before it starts: collisions between outputs and
// inputs or other outputs, and outputs that cannot be written where they go.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "file_roles.h"
#include "script/reader.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class FileRoles : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::path(testsupport::privateTempDir()) /
              ("file-roles-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir / "ro", fs::perms::owner_all, ec);
        fs::remove_all(dir, ec);
    }

    std::string file(const std::string &name, const std::string &bytes = "x\n") {
        std::string p = (dir / name).string();
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    std::string at(const std::string &name) const { return (dir / name).string(); }

    static vhost::NamedFile in(const std::string &role, const std::string &path) {
        return {role, "the " + role.substr(2), path, false, "", ""};
    }
    static vhost::NamedFile out(const std::string &role, const std::string &path,
                                const std::string &family = "", const std::string &mayReplace = "") {
        return {role, "the " + role.substr(2) + " output", path, false, family, mayReplace};
    }
};

TEST_F(FileRoles, AnOutputNamingAnInputIsRefusedNamingBoth) {
    const std::string scene = file("s.lws");
    vhost::FileRoles roles{{in("--scene", scene)}, {out("--png", scene)}};
    const std::string clash = vhost::findCollision(roles);
    EXPECT_NE(clash.find("--png and --scene name the same file '" + scene + "'"), std::string::npos) << clash;
    EXPECT_NE(clash.find("Give --png a file of its own"), std::string::npos) << clash;
    // The same for the script and the plug-in.
    roles = {{in("--scene", file("a.lws")), in("--script", file("edit.vts")), in("--plugin", file("v.p"))},
             {out("--save", at("edit.vts"), "", "--scene")}};
    EXPECT_NE(vhost::findCollision(roles).find("--save and --script"), std::string::npos);
    roles.outputs = {out("--record", at("v.p"))};
    EXPECT_NE(vhost::findCollision(roles).find("--record and --plugin"), std::string::npos);
}

TEST_F(FileRoles, LinksAndOtherSpellingsOfAnInputCount) {
    const std::string scene = file("s.lws");
    fs::create_symlink("s.lws", dir / "soft.lws");
    fs::create_hard_link(scene, dir / "hard.lws");
    fs::create_directories(dir / "sub");
    for (const std::string &other :
         {at("soft.lws"), at("hard.lws"), at("sub/../s.lws"), (dir / "." / "s.lws").string()}) {
        const std::string clash = vhost::findCollision({{in("--scene", scene)}, {out("--png", other)}});
        EXPECT_NE(clash.find("--png '" + other + "' and --scene '" + scene + "' are the same file"),
                  std::string::npos)
            << other << ": " << clash;
    }
    // A copy is another file.
    EXPECT_EQ(vhost::findCollision({{in("--scene", scene)}, {out("--png", file("copy.lws"))}}), "");
}

TEST_F(FileRoles, FilesStillToBeMadeCompareByTheirFullPath) {
    fs::create_directories(dir / "real");
    fs::create_directory_symlink("real", dir / "alias");
    fs::create_symlink("real/target.png", dir / "dangling.png");
    const std::vector<std::pair<std::string, std::string>> same = {
        {at("real/a.png"), at("real/./a.png")},
        {at("real/a.png"), at("alias/a.png")},        // through a linked folder
        {at("real/target.png"), at("dangling.png")},  // a link to a file not made yet
    };
    for (const auto &[a, b] : same) {
        const std::string clash = vhost::findCollision({{}, {out("--save", a), out("--png", b)}});
        EXPECT_NE(clash.find("--save '" + a + "' and --png '" + b + "' are the same file"), std::string::npos)
            << clash;
        EXPECT_NE(clash.find("Give each a file of its own"), std::string::npos);
    }
    EXPECT_EQ(vhost::findCollision({{}, {out("--save", at("real/a.lws")), out("--png", at("real/a.png"))}}),
              "");
    // Relative to the current folder as well.
    const fs::path was = fs::current_path();
    fs::current_path(dir);
    const std::string relative =
        vhost::findCollision({{}, {out("--save", "new.png"), out("--png", at("new.png"))}});
    fs::current_path(was);
    EXPECT_NE(relative.find("are the same file"), std::string::npos) << relative;
}

TEST_F(FileRoles, SaveMayReplaceTheSceneAndSnapshotsMayShareAFile) {
    const std::string scene = file("s.lws");
    EXPECT_EQ(vhost::findCollision({{in("--scene", scene)}, {out("--save", scene, "", "--scene")}}), "");
    // Only the scene: --save over the script is still refused.
    const std::string script = file("edit.vts");
    EXPECT_NE(vhost::findCollision({{in("--script", script)}, {out("--save", script, "", "--scene")}}), "");

    const std::string pic = at("mid.png");
    EXPECT_EQ(vhost::findCollision({{}, {out("--snap1", pic, "snapshot"), out("--snap2", pic, "snapshot")}}),
              "");
    const std::string clash = vhost::findCollision(
        {{}, {out("--snap1", pic, "snapshot"), out("--png", pic), out("--snap2", pic, "snapshot")}});
    EXPECT_NE(clash.find("--snap1 and --png name the same file"), std::string::npos) << clash;
}

TEST_F(FileRoles, DevicesAndFifosAreNeverACollision) {
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0600), 0);
    for (const std::string &special : {std::string("/dev/null"), at("fifo")}) {
        EXPECT_EQ(
            vhost::findCollision({{in("--script", special)},
                                  {out("--save", special), out("--png", special), out("--record", special)}}),
            "")
            << special;
    }
}

TEST_F(FileRoles, StandardInputCountsAsTheFileItReads) {
    const std::string script = file("edit.vts", "ok\n");
    vhost::NamedFile stdinScript{"--script", "the script", "", true, "", ""};
    const int saved = ::dup(0);
    ASSERT_GE(saved, 0);
    std::FILE *f = std::fopen(script.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    ASSERT_GE(::dup2(::fileno(f), 0), 0);
    const std::string clash = vhost::findCollision({{stdinScript}, {out("--png", script)}});
    const std::string other = vhost::findCollision({{stdinScript}, {out("--png", at("other.png"))}});
    EXPECT_GE(::dup2(saved, 0), 0);
    ::close(saved);
    (void)std::fclose(f);
    EXPECT_NE(clash.find("--png '" + script + "' and --script (standard input) are the same file"),
              std::string::npos)
        << clash;
    EXPECT_EQ(other, "");
}

TEST_F(FileRoles, ARunsRolesComeFromItsOptionsAndScript) {
    vhost::Options o;
    o.scene = at("s.lws");
    o.script = "-";
    o.save = at("out.lws");
    o.png = at("p.png");
    script::Script script;
    script::ReadError error;
    ASSERT_TRUE(script::readScript("snapshot a.png\nsnapshot a.png\nok\n", "edit.vts", script, error))
        << error.what;
    const vhost::FileRoles roles = vhost::sessionFileRoles(o, script, at("vantorel.p"));
    std::vector<std::string> inputs, outputs;
    for (const auto &f : roles.inputs) inputs.push_back(f.role + "=" + (f.standardInput ? "stdin" : f.path));
    for (const auto &f : roles.outputs) outputs.push_back(f.role + "=" + f.path);
    EXPECT_EQ(inputs, (std::vector<std::string>{"--scene=" + at("s.lws"), "--script=stdin",
                                                "the plug-in=" + at("vantorel.p")}));
    EXPECT_EQ(outputs, (std::vector<std::string>{"--save=" + at("out.lws"), "--png=" + at("p.png"),
                                                 "the snapshot on edit.vts:1=a.png",
                                                 "the snapshot on edit.vts:2=a.png"}));
    // The shell without --save saves over the scene: an output, allowed over it.
    vhost::Options shell;
    shell.window = shell.shell = true;
    shell.scene = at("s.lws");
    const vhost::FileRoles s = vhost::sessionFileRoles(shell, script::Script(), at("vantorel.p"));
    ASSERT_EQ(s.outputs.size(), 1u);
    EXPECT_EQ(s.outputs[0].path, at("s.lws"));
    EXPECT_EQ(s.outputs[0].mayReplace, "--scene");
}

TEST_F(FileRoles, OutputsMustBeWritableWhereTheyGo) {
    file("s.lws");
    fs::create_directories(dir / "d");
    fs::create_symlink("gone/t.png", dir / "dangling.png");
    const std::vector<vhost::NamedFile> outputs = {
        out("--save", at("nodir/o.lws")),  out("--record", at("d")),       out("--png", at("s.lws/x.png")),
        out("--snap", at("dangling.png")), out("--fine", at("d/new.png")), out("--over", at("s.lws")),
        out("--null", "/dev/null"),
    };
    const std::vector<std::string> problems = vhost::checkOutputPlaces(outputs);
    ASSERT_EQ(problems.size(), 4u) << ::testing::PrintToString(problems);
    EXPECT_EQ(problems[0], "--save '" + at("nodir/o.lws") + "': its folder '" + at("nodir") +
                               "' does not exist; create the folder, or give a file in one that exists");
    EXPECT_EQ(problems[1], "--record '" + at("d") + "' is a folder; give the name of a file");
    EXPECT_EQ(problems[2], "--png '" + at("s.lws/x.png") + "': its folder '" + at("s.lws") +
                               "' is not a folder; give another file");
    EXPECT_EQ(problems[3],
              "--snap '" + at("dangling.png") + "' leads to '" + at("gone/t.png") +
                  "', whose folder does not exist; create the folder, or give a file in one that exists");
}

TEST_F(FileRoles, ReadOnlyFoldersAndFilesAreRefused) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root (save.faults runs this as nobody)";
    fs::create_directories(dir / "ro");
    file("ro/old.lws");
    file("locked.lws");
    fs::permissions(dir / "locked.lws", fs::perms::owner_read);
    fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    const auto problems =
        vhost::checkOutputPlaces({out("--save", at("ro/new.lws")), out("--png", at("locked.lws"))});
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("its folder '" + at("ro") + "' is not writable"), std::string::npos)
        << problems[0];
    EXPECT_NE(problems[1].find("is read-only"), std::string::npos) << problems[1];
}

TEST_F(FileRoles, FoldersAndDevicesAreNoTextToRead) {
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0600), 0);
    EXPECT_EQ(vhost::unreadableKind(dir.string()), "is a folder");
    EXPECT_EQ(vhost::unreadableKind("/dev/null"), "is a device");
    EXPECT_EQ(vhost::unreadableKind(file("s.lws")), "");
    EXPECT_EQ(vhost::unreadableKind(at("fifo")), "");
    EXPECT_EQ(vhost::unreadableKind(at("missing.lws")), "");  // its reader says it is missing
}

}  // namespace
