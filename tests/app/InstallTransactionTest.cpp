#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "app/InstallTransaction.h"
#include "app/TreeSnapshot.h"
#include "launcher/ScratchDirectory.h"

namespace {

using scratch::Exists;
using scratch::Names;
using scratch::Narrow;
using scratch::ReadBytes;
using scratch::Wide;
using scratch::WriteBytes;

using scratch::EntryState;
using scratch::Snapshot;
using scratch::TreeState;

void SetTime(const std::string& path, std::int64_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 123456789}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

class InstallTransactionTest : public ::testing::Test {
protected:
    void SetUp() override {
        target_ = env_.root() + "/Templates/";
        scratch::MakeDirectories(target_);
    }

    // Lays out a file of the user's template directory with a distinct mode and an old time.
    void UserFile(const std::string& relative, const std::string& content, mode_t mode = 0640) {
        const std::string path = target_ + relative;
        scratch::MakeDirectories(path.substr(0, path.rfind('/')));
        WriteBytes(path, content);
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        SetTime(path, 1000000000);
    }

    // Gives every directory of the target an old time, as a real one would have.
    void AgeDirectories() {
        for (const auto& [relative, entry] : Snapshot(target_)) {
            if (S_ISDIR(entry.mode)) SetTime(target_ + relative, 1100000000);
        }
    }

    // One file written the way the installation worker writes it.
    ErrorCode Install(const std::string& relative, const std::string& content) {
        const std::string path = target_ + relative;
        const ErrorCode backup = BackupFile(tx_, Wide(path));
        if (backup != ERR_NONE && backup != ERR_FILE_NOT_FOUND) return backup;
        if (backup == ERR_FILE_NOT_FOUND) RecordCreatedFile(tx_, Wide(path));
        const ErrorCode made = CreateDirectoryRecorded(tx_, Wide(path.substr(0, path.rfind('/'))));
        if (made != ERR_NONE) return made;
        WriteBytes(path, content);
        return ERR_NONE;
    }

    std::string BackupDir() const { return Narrow(tx_.records.back().backupDir); }

    scratch::Environment env_;
    std::string target_;
    InstallTransaction tx_;
};

TEST_F(InstallTransactionTest, RollbackGivesBackTheDirectoryExactlyAsItWas) {
    UserFile("a/b/c/deep.txt", "old deep", 0604);
    UserFile("a/b/c/other.txt", "untouched");
    UserFile("top.txt", "old top", 0600);
    AgeDirectories();
    const TreeState before = Snapshot(target_);

    ASSERT_EQ(BeginTransaction(tx_, Wide(target_)), ERR_NONE);
    EXPECT_EQ(Install("a/b/c/deep.txt", "new deep"), ERR_NONE);
    EXPECT_EQ(Install("top.txt", "new top"), ERR_NONE);
    EXPECT_EQ(Install("a/b/c/created.txt", "created"), ERR_NONE);
    EXPECT_EQ(Install("a/new/dir/file.txt", "created"), ERR_NONE);
    ASSERT_NE(Snapshot(target_), before);

    EXPECT_EQ(RollbackTransaction(tx_, ERR_CANCELLED), ERR_CANCELLED);
    EXPECT_EQ(Snapshot(target_), before);
    EXPECT_EQ(Names(env_.temp()), std::vector<std::string>{});
}

TEST_F(InstallTransactionTest, CommitKeepsInstalledFilesAndDropsTheBackup) {
    UserFile("a/file.txt", "old");
    ASSERT_EQ(BeginTransaction(tx_, Wide(target_)), ERR_NONE);
    EXPECT_EQ(Install("a/file.txt", "new"), ERR_NONE);
    EXPECT_EQ(Install("b/file.txt", "created"), ERR_NONE);
    CommitTransaction(tx_);
    EXPECT_EQ(ReadBytes(target_ + "a/file.txt"), "new");
    EXPECT_EQ(ReadBytes(target_ + "b/file.txt"), "created");
    EXPECT_EQ(Names(env_.temp()), std::vector<std::string>{});
}

TEST_F(InstallTransactionTest, AbandonedBackupDirectoriesAreSkipped) {
    scratch::MakeDirectories(env_.temp() + "/xorup0");
    WriteBytes(env_.temp() + "/xorup0/left.txt", "from an interrupted run");
    WriteBytes(env_.temp() + "/xorup1", "a file of that name");
    ASSERT_EQ(BeginTransaction(tx_, Wide(target_)), ERR_NONE);
    EXPECT_EQ(BackupDir(), env_.temp() + "/xorup2/");
    struct stat status {};
    ASSERT_EQ(stat((env_.temp() + "/xorup2").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    RollbackTransaction(tx_, ERR_CANCELLED);
    EXPECT_EQ(Names(env_.temp()), (std::vector<std::string>{"xorup0", "xorup1"}));
    EXPECT_EQ(ReadBytes(env_.temp() + "/xorup0/left.txt"), "from an interrupted run");
}

TEST_F(InstallTransactionTest, EmptyTargetHasNoBackupAndCommitRemovesNothing) {
    WriteBytes(env_.temp() + "/sentinel", "stays");
    ASSERT_EQ(BeginTransaction(tx_, WString()), ERR_NONE);
    ASSERT_EQ(tx_.records.size(), 1u);
    EXPECT_TRUE(tx_.records.back().backupDir.empty());
    CommitTransaction(tx_);
    EXPECT_EQ(Names(env_.temp()), std::vector<std::string>{"sentinel"});
}

TEST_F(InstallTransactionTest, RollbackReturnsTheCodeItWasGiven) {
    for (ErrorCode code : {ERR_NONE, ERR_FILE_NOT_FOUND, ERR_INVALID_PARAMETER, ERR_CANT_WRITE, ERR_CANCELLED}) {
        InstallTransaction tx;
        ASSERT_EQ(BeginTransaction(tx, Wide(target_)), ERR_NONE);
        EXPECT_EQ(RollbackTransaction(tx, code), code);
    }
    EXPECT_EQ(Names(env_.temp()), std::vector<std::string>{});
}

// A directory name that is also a wildcard pattern must be taken for itself.
TEST_F(InstallTransactionTest, PatternLikeDirectoryIsNeitherMissedNorRemoved) {
    UserFile("Templates [old]/kept.txt", "user's");
    scratch::MakeDirectories(target_ + "Templates o");
    ASSERT_EQ(BeginTransaction(tx_, Wide(target_)), ERR_NONE);
    EXPECT_EQ(Install("Templates [old]/new.txt", "created"), ERR_NONE);
    EXPECT_EQ(Install("Templates [o]/new.txt", "created"), ERR_NONE);
    EXPECT_TRUE(Exists(target_ + "Templates [o]/new.txt"));
    EXPECT_EQ(tx_.records.back().createdDirs, std::vector<WString>{Wide(target_ + "Templates [o]")});
    RollbackTransaction(tx_, ERR_CANCELLED);
    EXPECT_EQ(ReadBytes(target_ + "Templates [old]/kept.txt"), "user's");
    EXPECT_EQ(Names(target_ + "Templates [old]"), std::vector<std::string>{"kept.txt"});
    EXPECT_EQ(Names(target_), (std::vector<std::string>{"Templates [old]", "Templates o"}));
}

TEST_F(InstallTransactionTest, BackupFileAnswersNotFoundOnlyWhenNothingIsThere) {
    UserFile("dir/inside.txt", "user's");
    ASSERT_EQ(BeginTransaction(tx_, Wide(target_)), ERR_NONE);
    EXPECT_EQ(BackupFile(tx_, Wide(target_ + "missing.txt")), ERR_FILE_NOT_FOUND);
    EXPECT_EQ(BackupFile(tx_, Wide(target_ + "dir")), ERR_INVALID_PARAMETER);
    EXPECT_EQ(ReadBytes(target_ + "dir/inside.txt"), "user's");
    EXPECT_EQ(Names(BackupDir()), std::vector<std::string>{});
}

TEST_F(InstallTransactionTest, BackupThatCannotBeMadeLeavesTheFileInPlace) {
    UserFile("sub/file.txt", "user's");
    ASSERT_EQ(BeginTransaction(tx_, Wide(target_)), ERR_NONE);
    WriteBytes(BackupDir() + "sub", "blocks the backup's directory");
    EXPECT_EQ(BackupFile(tx_, Wide(target_ + "sub/file.txt")), ERR_PATH_NOT_FOUND);
    EXPECT_EQ(ReadBytes(target_ + "sub/file.txt"), "user's");
}

TEST_F(InstallTransactionTest, SecondBackupOfTheSameFileKeepsTheUsersVersion) {
    UserFile("twice.txt", "user's");
    ASSERT_EQ(BeginTransaction(tx_, Wide(target_)), ERR_NONE);
    EXPECT_EQ(Install("twice.txt", "first"), ERR_NONE);
    EXPECT_EQ(Install("twice.txt", "second"), ERR_NONE);
    RollbackTransaction(tx_, ERR_CANCELLED);
    EXPECT_EQ(ReadBytes(target_ + "twice.txt"), "user's");
}

TEST_F(InstallTransactionTest, RollbackKeepsWhatCannotGoBackAndStillRunsEveryStep) {
    UserFile("blocked.txt", "user's");
    ASSERT_EQ(BeginTransaction(tx_, Wide(target_)), ERR_NONE);
    EXPECT_EQ(Install("blocked.txt", "new"), ERR_NONE);
    EXPECT_EQ(Install("created/file.txt", "created"), ERR_NONE);
    ASSERT_EQ(unlink((target_ + "blocked.txt").c_str()), 0);
    scratch::MakeDirectories(target_ + "blocked.txt");  // something else took the file's place
    const std::string backup = BackupDir();
    EXPECT_EQ(RollbackTransaction(tx_, ERR_CANCELLED), ERR_CANCELLED);
    EXPECT_EQ(ReadBytes(backup + "blocked.txt"), "user's");
    EXPECT_FALSE(Exists(target_ + "created"));
}

TEST_F(InstallTransactionTest, CreateDirectoryRecordedRecordsOuterBeforeInner) {
    ASSERT_EQ(BeginTransaction(tx_, Wide(target_)), ERR_NONE);
    EXPECT_EQ(CreateDirectoryRecorded(tx_, Wide(target_ + "x/y/z/")), ERR_NONE);
    EXPECT_EQ(CreateDirectoryRecorded(tx_, Wide(target_ + "x/y")), ERR_NONE);
    EXPECT_EQ(tx_.records.back().createdDirs, (std::vector<WString>{Wide(target_ + "x"), Wide(target_ + "x/y"),
                                                                     Wide(target_ + "x/y/z")}));
    WriteBytes(target_ + "plain", "a file");
    EXPECT_EQ(CreateDirectoryRecorded(tx_, Wide(target_ + "plain/sub")), ERR_PATH_NOT_FOUND);
    EXPECT_EQ(CreateDirectoryRecorded(tx_, Wide("/")), ERR_NONE);
}

}  // namespace
