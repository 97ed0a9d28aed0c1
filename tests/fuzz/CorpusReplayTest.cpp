#include "fuzz/CodecFuzzEntry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using namespace delvard;

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpusFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(DELVARD_FUZZ_CORPUS))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> readWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CodecFuzzCorpus, EveryInputKeepsTheCodecProperties)
{
    const std::vector<fs::path> files = corpusFiles();
    ASSERT_FALSE(files.empty()) << DELVARD_FUZZ_CORPUS;
    for (const fs::path& file : files) {
        const std::vector<std::uint8_t> bytes = readWhole(file);
        try {
            delvard::fuzz::runCodecOnBytes(bytes.data(), bytes.size());
        } catch (const delvard::fuzz::CodecPropertyBroken& broken) {
            ADD_FAILURE() << file.filename() << ": " << broken.what();
        }
    }
}

} // namespace
