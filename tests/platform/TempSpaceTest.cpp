#include "platform/TempSpace.h"

#include <gtest/gtest.h>

#include "launcher/ScratchDirectory.h"

using scratch::Narrow;
using scratch::Wide;

namespace {

// TMPDIR is the temporary directory only when it names one; temporary files go exactly where asked.
TEST(TempSpaceTest, TempDirectoryAndFilesAreWhereTheyWereAskedFor) {
    scratch::Environment env;
    scratch::WriteBytes(env / "file", "");
    const std::pair<std::string, std::string> cases[] = {
        {env.temp(), env.temp() + "/"}, {env.temp() + "/", env.temp() + "/"}, {env / "file", "/tmp/"}, {"", "/tmp/"}};
    WString temp;
    for (const auto& [tmpdir, expected] : cases) {
        ::setenv("TMPDIR", tmpdir.c_str(), 1);
        EXPECT_EQ(GetTempDirectory(&temp), ERR_NONE);
        EXPECT_EQ(Narrow(temp), expected) << tmpdir;
    }
    const std::string odd = env / "a \"b\" $HOME `id` \\ '";
    scratch::MakeDirectories(odd);
    for (const std::string& directory : {odd, odd + "/", odd}) {
        WString path;
        ASSERT_EQ(CreateTempFile(Wide(directory), Wide("edf"), &path), ERR_NONE);
        EXPECT_EQ(Narrow(path).rfind(odd + "/edf", 0), 0u) << Narrow(path);
    }
    EXPECT_EQ(scratch::Names(odd).size(), 3u);  // unique, and all of them there
    for (const std::string& directory : {env / "missing", odd + "/" + scratch::Names(odd)[0], std::string()}) {
        WString path = Wide("keep");
        EXPECT_EQ(CreateTempFile(Wide(directory), Wide("edf"), &path), ERR_CANT_WRITE) << directory;
        EXPECT_EQ(Narrow(path).rfind(directory.empty() ? "keep" : directory + "/edf", 0), 0u) << Narrow(path);
    }
}

}  // namespace
