#include "platform/TempSpace.h"

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <optional>

#include "platform/ScratchDirectory.h"

using namespace testing_support;

namespace {

const bool kUtf8 = UseUtf8Locale();

// Sets TMPDIR (or unsets it) for one test and restores the old value.
class TmpdirOverride {
public:
    explicit TmpdirOverride(const std::optional<std::string>& value) {
        if (const char* old = std::getenv("TMPDIR")) previous_ = old;
        if (value) ::setenv("TMPDIR", value->c_str(), 1);
        else ::unsetenv("TMPDIR");
    }
    ~TmpdirOverride() {
        if (previous_) ::setenv("TMPDIR", previous_->c_str(), 1);
        else ::unsetenv("TMPDIR");
    }

private:
    std::optional<std::string> previous_;
};

TEST(TempDirectoryTest, UsesTmpdirOnlyWhenItIsADirectory) {
    ScratchDirectory scratch;
    WriteBytes(scratch / "file", "");
    struct Case {
        std::optional<std::string> tmpdir;
        std::string expected;
    };
    const Case cases[] = {{std::nullopt, "/tmp/"},
                          {scratch.path(), scratch.path() + "/"},
                          {scratch.path() + "/", scratch.path() + "/"},
                          {scratch / "file", "/tmp/"},
                          {scratch / "missing", "/tmp/"},
                          {"", "/tmp/"}};
    for (const Case& c : cases) {
        TmpdirOverride override(c.tmpdir);
        WString directory;
        EXPECT_EQ(GetTempDirectory(&directory), ERR_NONE);
        EXPECT_EQ(A(directory), c.expected) << c.tmpdir.value_or("(unset)");
    }
}

TEST(TempFreeSpaceTest, ReportsFreeBlocksCappedInThirtyTwoBits) {
    ScratchDirectory scratch;
    TmpdirOverride override(scratch.path());
    struct statvfs info {};
    ASSERT_EQ(::statvfs(scratch.path().c_str(), &info), 0);
    const std::uint64_t expected = std::uint64_t{info.f_bfree} * info.f_frsize;
    std::uint64_t whole = 0;
    std::uint32_t capped = 0;
    ASSERT_EQ(GetTempFreeSpace(&whole), ERR_NONE);
    ASSERT_EQ(GetTempFreeSpace(&capped), ERR_NONE);
    const std::uint64_t slack = 64ull << 20;  // other processes write meanwhile
    EXPECT_LT(whole > expected ? whole - expected : expected - whole, slack);
    if (whole > 0xFFFFFFFFull + slack) {
        EXPECT_EQ(capped, 0xFFFFFFFFu);
    } else if (whole < 0xFFFFFFFFull - slack) {
        EXPECT_LT(std::uint64_t{capped} > whole ? capped - whole : whole - capped, slack);
    }
    EXPECT_EQ(GetTempFreeSpace(static_cast<std::uint32_t*>(nullptr)), ERR_INVALID_PARAMETER);
    EXPECT_EQ(GetTempFreeSpace(static_cast<std::uint64_t*>(nullptr)), ERR_INVALID_PARAMETER);
}

class CreateTempFileTest : public ::testing::Test {
protected:
    ScratchDirectory scratch;
    ScratchDirectory elsewhere;
};

TEST_F(CreateTempFileTest, CreatesEmptyUniqueFilesInExactlyTheGivenDirectory) {
    TmpdirOverride override(elsewhere.path());
    for (const std::string& directory : {scratch.path(), scratch.path() + "/"}) {
        WString first, second;
        ASSERT_EQ(CreateTempFile(W(directory), W("edf"), &first), ERR_NONE);
        ASSERT_EQ(CreateTempFile(W(directory), W("edf"), &second), ERR_NONE);
        EXPECT_NE(A(first), A(second));
        for (const std::string& path : {A(first), A(second)}) {
            EXPECT_EQ(path.rfind(scratch.path() + "/edf", 0), 0u) << path;
            EXPECT_EQ(path.find("//"), std::string::npos) << path;
            EXPECT_TRUE(Exists(path));
            EXPECT_EQ(ReadBytes(path), "");
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path()));
}

TEST_F(CreateTempFileTest, DirectoryWithShellCharactersIsJustADirectory) {
    const std::string odd = scratch / "a \"b\" $HOME `id` \\ '";
    ASSERT_EQ(::mkdir(odd.c_str(), 0755), 0);
    WString path;
    ASSERT_EQ(CreateTempFile(W(odd), W("Vq"), &path), ERR_NONE);
    EXPECT_EQ(A(path).rfind(odd + "/Vq", 0), 0u);
    EXPECT_TRUE(Exists(A(path)));
}

TEST_F(CreateTempFileTest, FailuresGiveThousandThirteenAndTheChosenName) {
    WriteBytes(scratch / "file", "");
    for (const std::string& directory : {scratch / "missing", scratch / "file"}) {
        WString path;
        EXPECT_EQ(CreateTempFile(W(directory), W("edf"), &path), ERR_CANT_WRITE) << directory;
        EXPECT_EQ(A(path).rfind(directory + "/edf", 0), 0u) << A(path);
        EXPECT_FALSE(Exists(A(path)));
    }
    WString untouched = W("keep");
    EXPECT_EQ(CreateTempFile(WString(), W("edf"), &untouched), ERR_CANT_WRITE);
    EXPECT_EQ(A(untouched), "keep");
}

TEST_F(CreateTempFileTest, UnwritableDirectoryGivesThousandThirteen) {
    if (::geteuid() == 0) GTEST_SKIP() << "permission checks do not apply to root";
    const std::string locked = scratch / "locked";
    ASSERT_EQ(::mkdir(locked.c_str(), 0555), 0);
    WString path;
    EXPECT_EQ(CreateTempFile(W(locked), W("Vq"), &path), ERR_CANT_WRITE);
    EXPECT_FALSE(path.empty());
}

}  // namespace
