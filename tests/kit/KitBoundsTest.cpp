// Kits crafted to exhaust memory or temporary space: the directory's limits
// at their exact edges (names' in KitReaderTest), the peak memory of the
// largest kits, and unpacking that stops before the temporary space runs out.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include "KitImages.h"
#include "kit/KitDirectory.h"

using namespace kit_images;

namespace {

constexpr std::uint64_t kMiB = 1 << 20;

// Streams `header` and `count` times `record` through zlib's gzip writer,
// so that even a gigabyte image is never held whole, and keeps the raw
// deflate stream between the gzip file's 10-byte header and 8-byte trailer.
void WriteRepeatedKit(const std::string& path, const std::string& header, const std::string& record,
                      std::uint64_t count) {
    const std::uint64_t perBlock = kMiB / record.size() + 1;
    std::string block;
    for (std::uint64_t i = 0; i < perBlock; ++i) block += record;
    const gzFile file = gzopen(path.c_str(), "wb1");
    gzwrite(file, header.data(), static_cast<unsigned>(header.size()));
    for (std::uint64_t left = count; left > 0; left -= std::min(left, perBlock)) {
        gzwrite(file, block.data(), static_cast<unsigned>(std::min(left, perBlock) * record.size()));
    }
    ASSERT_EQ(gzclose(file), Z_OK);
    const std::string gzip = scratch::ReadBytes(path);
    scratch::WriteBytes(path, gzip.substr(10, gzip.size() - 18));
}

// A counted string of `units` times U+7878 (bytes "xx").
std::string Text(std::uint32_t units) { return U32(units) + std::string(2 * units, 'x'); }

using KitBoundsTest = KitTest;

TEST_F(KitBoundsTest, EachLimitHoldsAtItsEdge) {
    const auto descriptions = [](std::uint32_t count) {
        std::string image = U32(1) + U32(count);
        for (std::uint32_t i = 0; i < count; ++i) image += EncodeDescriptionRecord({});
        return image + U32(0);
    };
    const auto record = [](std::size_t size) { return Multi(U32(1) + Padded(Entry(u"a", 0, 0), size)); };
    const std::tuple<const char*, std::string, ErrorCode> cases[] = {
        {"as many descriptions as allowed", descriptions(kKitMaxDescriptions), ERR_NONE},
        {"one description too many", descriptions(kKitMaxDescriptions + 1), ERR_INVALID_DATA},
        {"longest description text", U32(0) + Text(kKitMaxTextUnits) + Text(0) + Text(0) + U32(0), ERR_NONE},
        {"description text one unit too long", U32(0) + Text(kKitMaxTextUnits + 1) + Text(0) + Text(0) + U32(0),
         ERR_INVALID_DATA},
        {"longest record", record(kKitMaxRecordBytes), ERR_NONE},
        {"record one byte too long", record(kKitMaxRecordBytes + 1), ERR_INVALID_DATA},
    };
    for (const auto& [what, image, expected] : cases) {
        KitReader reader;
        EXPECT_EQ(Open(reader, image), expected) << what;
    }
}

// Peak resident memory, in KiB, of a child process that opens the kit (by
// KitOpen, or its directory alone); -1 when it gave another answer than
// `expected` or listed other entries.
long ChildPeakKiB(const std::string& kit, bool directoryOnly, ErrorCode expected, std::uint64_t entries) {
    const pid_t child = fork();
    if (child == 0) {
        const bool answered = [&] {
            KitReader reader;  // gone before the exit, image and all
            const ErrorCode code = directoryOnly ? KitOpenDirectory(reader, Wide(kit)) : KitOpen(reader, Wide(kit));
            return code == expected && reader.entries.size() == entries;
        }();
        _exit(answered ? 0 : 1);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

// The kit (tens of millions of real, tiny records), the largest kit
// the limits let through, and the entry count and name budget at their edges.
TEST_F(KitBoundsTest, EntryCountAndNameBudgetHoldAtTheirEdgesInBoundedMemory) {
    // Names of PATH_MAX - 1 units use up the budget with far fewer entries.
    const std::u16string longest = LongName(PATH_MAX - 1);
    const std::uint64_t atBudget = kKitMaxNameUnits / longest.size();
    // What every entry is named, how many there are, and KitOpen's answer.
    const std::tuple<const char*, std::u16string, std::uint64_t, ErrorCode> cases[] = {
        {"most entries, the names budget shared out", std::u16string(kKitMaxNameUnits / kKitMaxEntries, u'a'),
         kKitMaxEntries, ERR_NONE},
        {"one entry too many", u"a", kKitMaxEntries + 1, ERR_INVALID_DATA},
        {"20 million entries", u"a", 20000000, ERR_INVALID_DATA},
        {"long names up to the budget", longest, atBudget, ERR_NONE},
        {"long names past the budget", longest, atBudget + 1, ERR_INVALID_DATA},
    };
    for (const auto& [what, name, count, expected] : cases) {
        WriteRepeatedKit(kit, Multi(U32(static_cast<std::uint32_t>(count))), Entry(name, 0, 0), count);
        for (const bool directoryOnly : {false, true}) {
            const long peak = ChildPeakKiB(kit, directoryOnly, expected, expected == ERR_NONE ? count : 0);
            EXPECT_GT(peak, 0) << what << ": another answer, directory only: " << directoryOnly;
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
            EXPECT_LT(peak, 256 * 1024) << what;  // a sanitizer's own memory aside
#endif
        }
        EXPECT_TRUE(scratch::Names(env.temp()).empty()) << what;
    }
}

TEST_F(KitBoundsTest, UnpackingStopsBeforeTheImageCrowdsOutTheMargin) {
    // An 8 MiB image: the last question comes after 7 MiB at least.
    WriteRepeatedKit(kit, Multi(U32(1) + Entry(u"a", 0, 8 * kMiB - 100)), std::string(1, 'x'), 8 * kMiB - 100);
    // The free space the stand-in file system tells, and its own answer.
    const std::tuple<const char*, std::uint64_t, ErrorCode, ErrorCode> cases[] = {
        {"plenty of room", 1024 * kMiB, ERR_NONE, ERR_NONE},
        {"room for the image and the margin", 8 * kMiB + kImageSpaceMargin, ERR_NONE, ERR_NONE},
        {"room for the image but not the margin", 7 * kMiB + kImageSpaceMargin - 1, ERR_NONE, ERR_DISK_FULL},
        {"free space unknown", 0, ERR_INVALID_PARAMETER, ERR_NONE},
    };
    for (const auto& [what, freeBytes, answer, expected] : cases) {
        int questions = 0;
        const FreeSpaceProbe probe = [&, freeBytes = freeBytes, answer = answer](FileHandle, std::uint64_t* bytes) {
            ++questions;
            *bytes = freeBytes;
            return answer;
        };
        KitReader reader;
        EXPECT_EQ(KitOpen(reader, Wide(kit), probe), expected) << what;
        if (expected == ERR_NONE) {
            // Asked about once a MiB: often enough to stop in time, seldom enough to cost nothing.
            EXPECT_GE(questions, 8) << what;
            EXPECT_LE(questions, 10) << what;
        } else {
            EXPECT_TRUE(scratch::Names(env.temp()).empty()) << what;
        }
    }
}

}  // namespace
