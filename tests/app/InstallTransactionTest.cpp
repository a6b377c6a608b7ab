#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/InstallTransaction.h"
#include "app/TreeSnapshot.h"
#include "launcher/ScratchDirectory.h"

namespace {

using namespace scratch;
using Listing = std::vector<std::string>;

void SetTime(const std::string& path, std::int64_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 123456789}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

class InstallTransactionTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeDirectories(target_);
        ASSERT_EQ(BeginTransaction(tx_, Wide(target_)), ERR_NONE);
    }

    // A file of the user's template directory with a distinct mode and an old time.
    void UserFile(const std::string& relative, const std::string& content, mode_t mode = 0640) {
        const std::string path = target_ + relative;
        MakeDirectories(path.substr(0, path.rfind('/')));
        WriteBytes(path, content);
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        SetTime(path, 1000000000);
    }

    // One file written the way the installation worker writes it.
    ErrorCode Install(const std::string& relative, const std::string& content) {
        const std::string path = target_ + relative;
        const ErrorCode backup = BackupFile(tx_, Wide(path));
        if (backup == ERR_FILE_NOT_FOUND) RecordCreatedFile(tx_, Wide(path));
        else if (backup != ERR_NONE) return backup;
        const ErrorCode made = CreateDirectoryRecorded(tx_, Wide(path.substr(0, path.rfind('/'))));
        if (made == ERR_NONE) WriteBytes(path, content);
        return made;
    }

    std::string BackupDir() const { return Narrow(tx_.records.back().backupDir); }

    Environment env_;
    const std::string target_ = env_ / "Templates/";
    InstallTransaction tx_;
};

TEST_F(InstallTransactionTest, RollbackGivesBackTheDirectoryExactlyAsItWas) {
    UserFile("a/b/c/deep.txt", "old deep", 0604);
    UserFile("a/b/c/other.txt", "untouched");
    UserFile("top.txt", "old top", 0600);
    for (const auto& [relative, entry] : Snapshot(target_)) {
        if (S_ISDIR(entry.mode)) SetTime(target_ + relative, 1100000000);  // as a real directory's
    }
    const TreeState before = Snapshot(target_);
    EXPECT_EQ(Install("a/b/c/deep.txt", "new deep"), ERR_NONE);
    EXPECT_EQ(Install("top.txt", "new top"), ERR_NONE);
    EXPECT_EQ(Install("top.txt", "newer top"), ERR_NONE);  // the backup keeps the user's version
    EXPECT_EQ(Install("a/b/c/created.txt", "created"), ERR_NONE);
    EXPECT_EQ(Install("a/new/dir/file.txt", "created"), ERR_NONE);
    EXPECT_EQ(RollbackTransaction(tx_, ERR_CANT_WRITE), ERR_CANT_WRITE);
    EXPECT_EQ(Snapshot(target_), before);
    EXPECT_EQ(Names(env_.temp()), Listing{});
}

// A leftover directory or file of that name makes the next run take the next number.
TEST_F(InstallTransactionTest, AbandonedBackupDirectoriesAreSkippedAndEmptyTargetHasNone) {
    RollbackTransaction(tx_, ERR_CANCELLED);
    MakeDirectories(env_.temp() + "/xorup0");
    WriteBytes(env_.temp() + "/xorup1", "a file of that name");
    ASSERT_EQ(BeginTransaction(tx_, Wide(target_)), ERR_NONE);
    EXPECT_EQ(BackupDir(), env_.temp() + "/xorup2/");
    EXPECT_EQ(std::filesystem::status(BackupDir()).permissions(), std::filesystem::perms::owner_all);
    CommitTransaction(tx_);
    ASSERT_EQ(BeginTransaction(tx_, WString()), ERR_NONE);
    EXPECT_EQ(BackupDir(), "");
    CommitTransaction(tx_);
    EXPECT_EQ(Names(env_.temp()), (Listing{"xorup0", "xorup1"}));
}

// A directory name that is also a wildcard pattern must be taken for itself.
TEST_F(InstallTransactionTest, PatternLikeDirectoryIsNeitherMissedNorRemoved) {
    UserFile("Templates [old]/kept.txt", "user's");
    MakeDirectories(target_ + "Templates o");
    EXPECT_EQ(Install("Templates [old]/new.txt", "created"), ERR_NONE);
    EXPECT_EQ(Install("Templates [o]/new.txt", "created"), ERR_NONE);
    EXPECT_EQ(ReadBytes(target_ + "Templates [o]/new.txt"), "created");
    RollbackTransaction(tx_, ERR_CANCELLED);
    EXPECT_EQ(Names(target_ + "Templates [old]"), Listing{"kept.txt"});
    EXPECT_EQ(Names(target_), (Listing{"Templates [old]", "Templates o"}));
}

TEST_F(InstallTransactionTest, FailedBackupOrDirectoryLeavesTheUsersFilesInPlace) {
    UserFile("dir/inside.txt", "user's");
    EXPECT_EQ(BackupFile(tx_, Wide(target_ + "missing.txt")), ERR_FILE_NOT_FOUND);
    EXPECT_EQ(BackupFile(tx_, Wide(target_ + "dir")), ERR_INVALID_PARAMETER);
    WriteBytes(BackupDir() + "dir", "blocks the backup's directory");
    EXPECT_EQ(BackupFile(tx_, Wide(target_ + "dir/inside.txt")), ERR_PATH_NOT_FOUND);
    EXPECT_EQ(CreateDirectoryRecorded(tx_, Wide(target_ + "dir/inside.txt/sub")), ERR_PATH_NOT_FOUND);
    EXPECT_EQ(ReadBytes(target_ + "dir/inside.txt"), "user's");
}

TEST_F(InstallTransactionTest, RollbackKeepsWhatCannotGoBackAndStillRunsEveryStep) {
    UserFile("blocked.txt", "user's");
    EXPECT_EQ(Install("blocked.txt", "new"), ERR_NONE);
    EXPECT_EQ(Install("created/file.txt", "created"), ERR_NONE);
    ASSERT_EQ(unlink((target_ + "blocked.txt").c_str()), 0);
    MakeDirectories(target_ + "blocked.txt");  // something else took the file's place
    const std::string backup = BackupDir();
    EXPECT_EQ(RollbackTransaction(tx_, ERR_CANCELLED), ERR_CANCELLED);
    EXPECT_EQ(ReadBytes(backup + "blocked.txt"), "user's");
    EXPECT_FALSE(Exists(target_ + "created"));
}

}  // namespace
