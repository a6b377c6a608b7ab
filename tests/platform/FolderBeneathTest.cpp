// Folders reached below a descriptor: never through a link, unless it is one
// the caller allowed and it still leads where it led.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "launcher/ScratchDirectory.h"
#include "platform/FolderBeneath.h"

namespace {

TEST(FolderBeneath, OpensOnlyWhatLiesBelowWithoutForeignLinks) {
    scratch::Environment env;
    const std::string root = env / "root";
    scratch::MakeDirectories(root + "/real/inner");
    scratch::MakeDirectories(env / "outside/inner");
    ASSERT_EQ(symlink((env / "outside").c_str(), (root + "/linked").c_str()), 0);
    ASSERT_EQ(symlink("real", (root + "/near").c_str()), 0);
    struct stat outside {};
    ASSERT_EQ(stat((env / "outside").c_str(), &outside), 0);
    const std::vector<AllowedLink> none, allowed = {{"linked", outside.st_dev, outside.st_ino}},
                                         stale = {{"linked", outside.st_dev, outside.st_ino + 1}};
    // The path, the links allowed on the way, and the errno (0: opens).
    const std::tuple<const char*, const std::vector<AllowedLink>*, int> cases[] = {
        {"", &none, 0},           {"real/inner", &none, 0},    {"linked/inner", &none, ELOOP},
        {"near/inner", &none, ELOOP}, {"linked/inner", &allowed, 0}, {"linked/inner", &stale, ELOOP},
        {"real/../real", &none, EINVAL}, {"./real", &none, EINVAL}, {"real//inner", &none, EINVAL},
        {"/real", &none, EINVAL}, {"missing", &none, ENOENT},
    };
    const FolderDescriptor rootFolder(open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const auto open : {OpenFolderBeneath, WalkFolderBeneath}) {
        for (const auto& [path, links, error] : cases) {
            const FolderDescriptor folder(open(rootFolder.get(), path, *links));
            EXPECT_EQ(folder.valid() ? 0 : errno, error) << path << (open == OpenFolderBeneath ? "" : " walked");
        }
    }
}

}  // namespace
