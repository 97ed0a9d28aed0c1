// The PNG's compressed stream: one valid zlib stream whatever the data and
// however it comes, and the writers that hand it on stopping at the first
// failed write.

#include "png/ZlibStream.h"
#include "png/PngWriter.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <random>

using namespace delvard;

namespace {

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

TEST(ZlibStream, ThePiecesMakeOneStream)
{
    const std::string noise = ::noise(900000, 7);
    const std::vector<std::vector<std::string>> inputs = {
        {},
        {""},
        {"one piece"},
        {noise.substr(0, 100000), std::string(200000, 'a'), noise.substr(100000), "", "end"},
        std::vector<std::string>(40, noise.substr(0, 20000) + std::string(30000, '\x01')),
    };
    for (const auto& pieces : inputs) {
        std::string whole;
        std::string stream;
        int outputs = 0;
        ZlibStream deflate([&](std::string_view bytes) {
            stream.append(bytes);
            ++outputs;
            return true;
        });
        bool ok = true;
        for (const std::string& piece : pieces) {
            whole += piece;
            ok = ok && deflate.add(piece);
        }
        ASSERT_TRUE(ok && deflate.finish()) << pieces.size() << " pieces";
        EXPECT_EQ(inflated(stream, whole.size()), whole) << pieces.size() << " pieces";
        // Noise does not compress: its stream goes out in several pieces.
        EXPECT_EQ(outputs > 1, whole.size() > 1000000) << pieces.size() << " pieces";
    }
}

TEST(ZlibStream, AnOutputThatFailsStopsTheStream)
{
    const std::string noise = ::noise(100000, 3);
    int calls = 0;
    ZlibStream deflate([&calls](std::string_view) { return ++calls < 3; });
    bool ok = true;
    for (int piece = 0; piece < 20; ++piece)
        ok = deflate.add(noise) && ok;
    EXPECT_FALSE(ok && deflate.finish());
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(deflate.problem(), QString());
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
                      4);
        EXPECT_FALSE(png.writeRows(rows) && png.writeRows(rows) && png.finish()) << failing;
        EXPECT_FALSE(png.writeRows(rows) || png.finish()) << failing;
        EXPECT_EQ(calls, failing);
        EXPECT_EQ(png.problem(), QString()) << failing;
    }
}
