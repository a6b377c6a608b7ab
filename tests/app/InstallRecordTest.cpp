// The kit's record: what is written is read back exactly; a damaged or hostile
// record is refused whole; it is never read through a link; and the decisions
// it feeds, as one table.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/FileDecision.h"
#include "app/InstallRecord.h"
#include "app/RecordReadAhead.h"
#include "platform/FolderBeneath.h"

namespace {

const KitIdentity kKit{"Record Test", "Qorn"};

// A body of a record with its closing line, as a writer that got the checksum right would seal it.
std::string Sealed(const std::string& body) { return body + "end " + ChecksumOfBytes(body).Hex() + "\n"; }

std::string Body(const std::string& counts, const std::string& lines) {
    return "qorn-setup-record 1\nproduct Record%20Test\nprovider Qorn\ntarget-created 0\n" + counts + lines;
}

const std::string kSum = std::string(32, 'a');

TEST(InstallRecord, WhatIsWrittenIsReadBackExactly) {
    InstallRecord record;
    record.identity = kKit;
    record.createdTarget = true;
    record.createdFolders = {"a b", "a b/100%"};
    record.files = {{"a b/100%/x\ny.tpl", 12, 1700000000, 123456789, ChecksumOfBytes("x")},
                    {"Отчёт.tpl", 0, 0, 0, ChecksumOfBytes("")},
                    {"0.tpl", 1, 0, 0, ChecksumOfBytes("0")}};  // out of path order, as a kit may list them
    InstallRecord read;
    ASSERT_TRUE(ParseRecord(SerializeRecord(record), kKit, &read));
    EXPECT_EQ(SerializeRecord(read), SerializeRecord(record));
    EXPECT_EQ(read.files[0].path, "a b/100%/x\ny.tpl");
    EXPECT_TRUE(read.createdTarget);
    for (const RecordedFile& file : record.files) {
        const RecordedFile* found = FindRecordedFile(read, file.path);
        ASSERT_NE(found, nullptr) << file.path;
        EXPECT_EQ(found->size, file.size) << file.path;
    }
    EXPECT_EQ(FindRecordedFile(read, "a b"), nullptr);
    EXPECT_EQ(FindRecordedFile(read, "1.tpl"), nullptr);
}

TEST(InstallRecord, DamagedOrHostileRecordsAreRefusedWhole) {
    const std::string file = "f 1 2 3 " + kSum + " ";
    // (what is wrong, the record's bytes)
    const std::pair<const char*, std::string> kCases[] = {
        {"another kit's", Sealed("qorn-setup-record 1\nproduct Other\nprovider Qorn\ntarget-created 0\nfolders 0\nfiles 0\n")},
        {"a path with ..", Sealed(Body("folders 0\nfiles 1\n", file + "a/../../etc/passwd\n"))},
        {"an absolute path", Sealed(Body("folders 0\nfiles 1\n", file + "/etc/passwd\n"))},
        {"an empty component", Sealed(Body("folders 0\nfiles 1\n", file + "a//b\n"))},
        {"a folder outside", Sealed(Body("folders 1\nfiles 0\n", "d ..\n"))},
        {"the record folder itself", Sealed(Body("folders 0\nfiles 1\n", file + ".qorn-record/x.record\n"))},
        {"a path twice", Sealed(Body("folders 0\nfiles 2\n", file + "a\n" + file + "a\n"))},
        {"a path twice, apart", Sealed(Body("folders 0\nfiles 3\n", file + "b\n" + file + "a\n" + file + "b\n"))},
        {"a folder twice", Sealed(Body("folders 2\nfiles 0\n", "d a\nd a\n"))},
        {"a folder that is also a file", Sealed(Body("folders 1\nfiles 2\n", "d b\n" + file + "c\n" + file + "b\n"))},
        {"a huge count", Sealed(Body("folders 0\nfiles 1000001\n", file + "a\n"))},
        {"a count the bytes cannot hold", Sealed(Body("folders 0\nfiles 900000\n", file + "a\n"))},
        {"fewer lines than counted", Sealed(Body("folders 0\nfiles 2\n", file + "a\n"))},
        {"a bad escape", Sealed(Body("folders 0\nfiles 1\n", file + "a%zz\n"))},
        {"an escaped zero byte", Sealed(Body("folders 0\nfiles 1\n", file + "a%00\n"))},
        {"a raw blank", Sealed(Body("folders 0\nfiles 1\n", file + "a b\n"))},
        {"a negative size", Sealed(Body("folders 0\nfiles 1\n", "f -1 2 3 " + kSum + " a\n"))},
        {"nanoseconds out of range", Sealed(Body("folders 0\nfiles 1\n", "f 1 2 1000000000 " + kSum + " a\n"))},
        {"a short checksum", Sealed(Body("folders 0\nfiles 1\n", "f 1 2 3 abc a\n"))},
        {"a capital in the checksum", Sealed(Body("folders 0\nfiles 1\n", "f 1 2 3 " + std::string(31, 'a') + "A a\n"))},
        {"a non-digit in the checksum", Sealed(Body("folders 0\nfiles 1\n", "f 1 2 3 " + std::string(20, '0') + "g" +
                                                                             std::string(11, '0') + " a\n"))},
        {"a wrong closing checksum", Body("folders 0\nfiles 0\n", "") + "end " + kSum + "\n"},
        {"no closing line", Body("folders 0\nfiles 0\n", "")},
        {"bytes after the end", Sealed(Body("folders 0\nfiles 0\n", "")) + "x"},
        {"another version", "qorn-setup-record 2\n"},
        {"empty", ""},
    };
    InstallRecord untouched;
    untouched.createdTarget = true;
    for (const auto& [what, bytes] : kCases) {
        InstallRecord record = untouched;
        EXPECT_FALSE(ParseRecord(bytes, kKit, &record)) << what;
        EXPECT_TRUE(record.createdTarget && record.files.empty()) << what << ": changed on refusal";
    }
    InstallRecord sound;
    EXPECT_TRUE(ParseRecord(Sealed(Body("folders 0\nfiles 1\n", file + "a\n")), kKit, &sound));
}

TEST(InstallRecord, IsReadOnlyAsARegularFileAndSetAsideBesideItself) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() / ("record-test-" + std::to_string(getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / kRecordFolder);
    const FolderDescriptor target(open(root.c_str(), O_RDONLY | O_DIRECTORY));
    InstallRecord record;
    record.identity = kKit;
    EXPECT_EQ(ReadRecord(target.get(), kKit, &record), RecordState::Missing);
    const std::filesystem::path path = root / RecordPath(kKit);
    const std::string bytes = SerializeRecord(record);
    const auto write = [&](const std::filesystem::path& at) {
        const int file = open(at.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_EQ(::write(file, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(file);
    };
    write(root / "elsewhere");
    std::filesystem::create_symlink(root / "elsewhere", path);
    EXPECT_EQ(ReadRecord(target.get(), kKit, &record), RecordState::Damaged) << "read through a link";
    std::filesystem::remove(path);
    write(path);
    EXPECT_EQ(ReadRecord(target.get(), kKit, &record), RecordState::Found);
    EXPECT_EQ(SetRecordAside(target.get(), kKit), RecordPath(kKit) + ".bad");
    write(path);
    EXPECT_EQ(SetRecordAside(target.get(), kKit), RecordPath(kKit) + ".bad1") << "never over an earlier one";
    EXPECT_TRUE(std::filesystem::exists(root / (RecordPath(kKit) + ".bad")));
    std::filesystem::remove_all(root);
}

// A dry run's or a verification's record, read while the kit's directory is: handed over once, and only for the
// directory and the kit it was read for; anything else reads it again.
TEST(InstallRecord, IsReadAheadOnlyForTheDirectoryAndKitItWasStartedFor) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() / ("record-ahead-" + std::to_string(getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "target" / kRecordFolder);
    std::filesystem::create_directories(root / "other");
    InstallRecord written;
    written.identity = kKit;
    written.files = {{"a.tpl", 1, 2, 3, ChecksumOfBytes("a")}};
    const std::string bytes = SerializeRecord(written);
    const int file = open((root / "target" / RecordPath(kKit)).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_EQ(::write(file, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(file);
    const FolderDescriptor target(open((root / "target").c_str(), O_RDONLY | O_DIRECTORY));
    const FolderDescriptor other(open((root / "other").c_str(), O_RDONLY | O_DIRECTORY));
    const std::string targetPath = (root / "target").string() + "/";
    DatedRecord read;
    {
        RecordReadAhead ahead;
        ahead.Start(targetPath, kKit);
        ASSERT_TRUE(ahead.Take(target.get(), kKit, &read));
        EXPECT_EQ(read.state, RecordState::Found);
        EXPECT_TRUE(read.dated);
        ASSERT_EQ(read.record.files.size(), 1u);
        EXPECT_EQ(read.record.files[0].path, "a.tpl");
        EXPECT_FALSE(ahead.Take(target.get(), kKit, &read)) << "handed over twice";
    }
    {
        RecordReadAhead ahead;
        ahead.Start(targetPath, kKit);
        EXPECT_FALSE(ahead.Take(other.get(), kKit, &read)) << "another directory";
    }
    {
        RecordReadAhead ahead;
        ahead.Start(targetPath, KitIdentity{"Another", "Qorn"});
        EXPECT_FALSE(ahead.Take(target.get(), kKit, &read)) << "another kit";
    }
    {
        RecordReadAhead ahead;
        ahead.Start((root / "missing").string() + "/", kKit);
        EXPECT_FALSE(ahead.Take(target.get(), kKit, &read)) << "a directory it could not open";
    }
    RecordReadAhead never;
    EXPECT_FALSE(never.Take(target.get(), kKit, &read)) << "never started";
    std::filesystem::remove_all(root);
}

TEST(FileDecision, FollowsTheTimeRuleAndTheRecord) {
    using D = FileDecision;
    // (in kit, on disk, older than the kit's, recorded, as recorded) -> decision
    const std::pair<FileFacts, FileDecision> kCases[] = {
        {{true, false, false, false, false}, D::Create},
        {{true, false, false, true, false}, D::Create},              // recorded, deleted by the user: back
        {{true, true, true, false, false}, D::Replace},              // no record: the time rule alone
        {{true, true, true, true, true}, D::Replace},
        {{true, true, true, true, false}, D::ReplaceKeepingEdit},     // edited
        {{true, true, false, true, false}, D::UpToDate},             // edited and newer: left alone
        {{true, true, false, false, false}, D::UpToDate},
        {{false, true, false, true, true}, D::Remove},               // no longer shipped
        {{false, true, false, true, false}, D::KeepEdited},          // no longer shipped, edited
        {{false, false, false, true, false}, D::None},               // no longer shipped, already gone
        {{false, true, false, false, false}, D::None},               // the user's own file
    };
    for (const auto& [facts, decision] : kCases) {
        EXPECT_EQ(Decide(facts), decision) << facts.inKit << facts.onDisk << facts.olderThanKit << facts.recorded
                                           << facts.asRecorded;
    }
}

}  // namespace
