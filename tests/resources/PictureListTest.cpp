// The picture list against what its numbers promise: the owner pictures are
// their exact colours, the room symbols let the owner's colour through, the
// natural terrains cover it, and threads that draw side by side share the
// list.

#include "resources/PictureList.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace delvard;

namespace {

const PictureList& pictures()
{
    static const PictureList list;
    return list;
}

int opaqueShare(const QImage& image)
{
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) == 255;
    return 100 * opaque / (image.width() * image.height());
}

} // namespace

TEST(PictureList, OwnerPicturesAreTheirExactColours)
{
    const QRgb colours[] = {qRgb(255, 255, 255), qRgb(192, 192, 192), qRgb(255, 0, 0),
                            qRgb(0, 0, 255),     qRgb(0, 255, 0),     qRgb(255, 255, 0),
                            qRgb(255, 0, 255)};
    for (int owner = 1; owner <= 7; ++owner) {
        const QImage& image = pictures().picture(35 + owner);
        ASSERT_FALSE(image.isNull());
        for (const QPoint at : {QPoint(0, 0), QPoint(16, 16), QPoint(31, 31)})
            EXPECT_EQ(image.pixel(at), colours[owner - 1]) << "owner " << owner;
    }
}

TEST(PictureList, EveryNumberFrom1To72HasAPictureAndNoOtherDoes)
{
    for (int n = 1; n <= 72; ++n)
        EXPECT_FALSE(pictures().picture(n).isNull()) << n;
    // The room symbols let the owner's colour through; the natural terrains cover it.
    EXPECT_LT(opaqueShare(pictures().picture(2)), 90);
    EXPECT_EQ(opaqueShare(pictures().picture(22)), 100);
    for (const int n : {-1, 0, 73}) {
        EXPECT_TRUE(pictures().picture(n).isNull());
        EXPECT_TRUE(pictures().icon(n).isNull());
    }
}

// Each picture is decoded, and scaled to each size, when first asked for;
// threads that draw maps side by side ask for the same ones at once, and
// each must get the one picture, made once and whole.
TEST(PictureList, ThreadsAskingAtOnceShareOnePictureEach)
{
    const PictureList shared;
    constexpr int Threads = 4;
    // Even threads ask for the pictures as decoded, odd ones for them scaled.
    const auto ask = [&shared](int t, int n) -> const QImage& {
        return t % 2 == 0 ? shared.picture(n) : shared.scaled(n, 24);
    };
    std::vector<std::vector<QImage>> seen(Threads, std::vector<QImage>(PictureList::Count + 1));
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < Threads; ++t)
            threads.emplace_back([&ask, &seen, t] {
                for (int n = 1; n <= PictureList::Count; ++n)
                    seen[std::size_t(t)][std::size_t(n)] = ask(t, n);
            });
    }
    for (int n = 1; n <= PictureList::Count; ++n) {
        EXPECT_EQ(shared.picture(n), pictures().picture(n)) << n;
        EXPECT_EQ(shared.scaled(n, 24), pictures().scaled(n, 24)) << n;
        for (int t = 0; t < Threads; ++t)
            EXPECT_EQ(seen[std::size_t(t)][std::size_t(n)].cacheKey(), ask(t, n).cacheKey()) << n;
    }
}
