// Runs one fuzz target's entry point over every committed seed. The target aborts on a broken
// invariant, so a seed that no longer passes fails this test in any build.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

TEST(CorpusReplay, EverySeedKeepsTheInvariants)
{
    LLVMFuzzerInitialize(nullptr, nullptr);
    int seeds = 0;
    for (const auto &entry : std::filesystem::directory_iterator(QUILLMARK_CORPUS_DIR)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
        ++seeds;
    }
    EXPECT_GE(seeds, 10);
}
