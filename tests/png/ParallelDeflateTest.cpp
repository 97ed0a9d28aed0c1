// The PNG's compressed stream made of bands deflated side by side: one
// valid zlib stream, and the same bytes whatever the number of threads; and
// the writer that hands it on stopping at the first failed write.

#include "png/ParallelDeflate.h"
#include "png/PngWriter.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <random>

using namespace delvard;

namespace {

// The stream the bands make, empty if the deflater failed.
std::string deflated(const std::vector<std::string>& bands, unsigned threads)
{
    std::string stream;
    ParallelDeflate deflate(
        [&stream](std::string_view bytes) {
            stream.append(bytes);
            return true;
        },
        threads);
    bool ok = true;
    for (const std::string& band : bands)
        ok = ok && deflate.add(band);
    return ok && deflate.finish() ? stream : std::string();
}

// Bytes made by a Mersenne twister.
std::string noise(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

// zlib's own reader, which checks the header and the Adler-32 too.
std::string inflated(const std::string& stream, std::size_t size)
{
    std::string out(size + 1, '\0');
    uLongf length = static_cast<uLongf>(out.size());
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                   reinterpret_cast<const Bytef*>(stream.data()),
                   static_cast<uLong>(stream.size())) != Z_OK)
        return "not a zlib stream";
    out.resize(length);
    return out;
}

} // namespace

TEST(ParallelDeflate, BandsJoinIntoOneStreamWhateverTheThreads)
{
    const std::string noise = ::noise(300000, 7);
    const std::vector<std::vector<std::string>> inputs = {
        {},
        {""},
        {"one band"},
        {noise.substr(0, 100000), std::string(200000, 'a'), noise.substr(100000), "", "end"},
        std::vector<std::string>(40, noise.substr(0, 20000) + std::string(30000, '\x01')),
    };
    for (const auto& bands : inputs) {
        std::string whole;
        for (const std::string& band : bands)
            whole += band;
        const std::string alone = deflated(bands, 1);
        EXPECT_EQ(inflated(alone, whole.size()), whole) << bands.size() << " bands";
        for (const unsigned threads : {2u, 3u, 8u})
            EXPECT_EQ(deflated(bands, threads), alone) << threads << " threads";
    }
}

TEST(ParallelDeflate, AnOutputThatFailsStopsTheStream)
{
    for (const unsigned threads : {1u, 4u}) {
        int calls = 0;
        ParallelDeflate deflate(
            [&calls](std::string_view) {
                ++calls;
                return calls < 3;
            },
            threads);
        bool ok = true;
        for (int band = 0; band < 20; ++band)
            ok = deflate.add(std::string(100000, static_cast<char>(band))) && ok;
        EXPECT_FALSE(ok && deflate.finish()) << threads << " threads";
        EXPECT_EQ(calls, 3) << threads << " threads";
    }
}

// A writer whose output failed is done: whatever it is asked next, it
// writes nothing more, and the output's owner names the failure.
TEST(PngWriter, AnOutputThatFailsIsNeverWrittenAgain)
{
    QImage rows(5, 2, QImage::Format_RGB32);
    rows.fill(Qt::red);
    for (const int failing : {1, 2, 3, 4}) { // the signature, the header, then the pixels
        int calls = 0;
        PngWriter png([&calls, failing](const char*, std::size_t) { return ++calls < failing; }, 5,
                      4, 2);
        EXPECT_FALSE(png.writeRows(rows) && png.writeRows(rows) && png.finish()) << failing;
        EXPECT_FALSE(png.writeRows(rows) || png.finish()) << failing;
        EXPECT_EQ(calls, failing);
        EXPECT_EQ(png.problem(), QString()) << failing;
    }
}
