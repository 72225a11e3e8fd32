// The native store of saves on real files: what it writes, what it refuses,
// the parts of a failure, and its own writes not counting as changes on disk.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "fileio/file_stamp.h"
#include "fileio/file_store.h"

namespace {

using session::SaveStatus;

class FileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/vantorel-store-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        dir_ = name;
    }
    void TearDown() override { (void)std::system(("rm -rf '" + dir_ + "'").c_str()); }

    std::string path(const std::string &name) const { return dir_ + "/" + name; }
    static void put(const std::string &p, const std::string &bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::string get(const std::string &p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The stamp of the file as it is now, as if it had just been read.
    static fileio::FileStamp readNow(const std::string &p) {
        std::string bytes, why;
        fileio::FileStamp st;
        EXPECT_EQ(fileio::readFile(p, 1 << 20, bytes, st, why), fileio::ReadResult::Ok) << why;
        return st;
    }

    std::string dir_;
};

TEST_F(FileStoreTest, WritesNewFilesAndTheUnchangedFileThatWasRead) {
    const std::string scene = path("s.lws");
    put(scene, "old\n");
    fileio::FileStore store(readNow(scene));
    const session::SaveResult fresh = store.write(path("new.lws"), "new\n", false);
    EXPECT_EQ(fresh.status, SaveStatus::Written);
    EXPECT_EQ(fresh.target, path("new.lws"));
    EXPECT_EQ(get(path("new.lws")), "new\n");
    const session::SaveResult over = store.write(scene, "edited\n", false);
    EXPECT_EQ(over.status, SaveStatus::Written);
    EXPECT_TRUE(over.change.empty());
    EXPECT_EQ(get(scene), "edited\n");
}

TEST_F(FileStoreTest, AFileChangedSinceItWasReadIsRefusedUnlessForced) {
    const std::string scene = path("s.lws");
    put(scene, "old\n");
    fileio::FileStore store(readNow(scene));
    put(scene, "OLD\n");  // someone else's change, same size
    const session::SaveResult refused = store.write(scene, "mine\n", false);
    EXPECT_EQ(refused.status, SaveStatus::ChangedOnDisk);
    EXPECT_NE(refused.change.find("content"), std::string::npos) << refused.change;
    EXPECT_EQ(get(scene), "OLD\n");  // the other change is kept
    // Another file is never checked against the scene file's stamp.
    EXPECT_EQ(store.write(path("other.lws"), "mine\n", false).status, SaveStatus::Written);

    const session::SaveResult forced = store.write(scene, "mine\n", true);
    EXPECT_EQ(forced.status, SaveStatus::Written);
    EXPECT_EQ(forced.change, refused.change);  // what the forced save replaced
    EXPECT_EQ(get(scene), "mine\n");
}

TEST_F(FileStoreTest, ItsOwnWritesCountAsReadOnlyWhenItFollowsThem) {
    const std::string scene = path("s.lws");
    put(scene, "old\n");
    fileio::FileStore following(readNow(scene));
    EXPECT_EQ(following.write(scene, "first save\n", false).status, SaveStatus::Written);
    EXPECT_EQ(following.write(scene, "second save\n", false).status, SaveStatus::Written);
    put(scene, "changed elsewhere\n");
    EXPECT_EQ(following.write(scene, "third save\n", false).status, SaveStatus::ChangedOnDisk);

    // A store for one save keeps the stamp as read: a second save over its
    // own change is refused, as over anyone's.
    put(scene, "old\n");
    fileio::FileStore once(readNow(scene), false);
    EXPECT_EQ(once.write(scene, "first save\n", false).status, SaveStatus::Written);
    EXPECT_EQ(once.write(scene, "second save\n", false).status, SaveStatus::ChangedOnDisk);
}

TEST_F(FileStoreTest, AFailureComesInPartsAndAsSentences) {
    fileio::FileStore store;
    const session::SaveResult folder = store.write(dir_, "x", false);
    EXPECT_EQ(folder.status, SaveStatus::Failed);
    EXPECT_EQ(folder.step, "checking the target");
    EXPECT_EQ(folder.reason, "it is a folder");
    EXPECT_EQ(folder.message, dir_ + ": is a folder; nothing was written. Give the name of a file.");

    const std::string lost = path("gone/new.lws");
    const session::SaveResult missing = store.write(lost, "x", false);
    EXPECT_EQ(missing.status, SaveStatus::Failed);
    EXPECT_EQ(missing.step, "opening its folder");
    EXPECT_EQ(missing.reason, "No such file or directory");
    EXPECT_EQ(missing.message, lost +
                                   ": the save failed while opening its folder (No such file or directory); "
                                   "no file " +
                                   lost +
                                   " was created. Check the folder exists and is readable and writable.");
}

}  // namespace
