#pragma once

#include <QIcon>
#include <QImage>

#include <array>
#include <map>
#include <mutex>

namespace delvard {

// The 72 numbered pictures compiled into the program: the cell pictures of
// the terrains and the owners (which is which: delvard::pictureOf), and
// from 43 on the palette's own.
class PictureList
{
  public:
    static constexpr int Count = 72;

    // Made once by the program and handed to whatever draws. Decodes
    // nothing yet: a picture costs most of a millisecond to decode, and a
    // map seldom shows them all (a thumbnail needs none).
    PictureList();

    // Picture n (1..72) at its stored size, as decoded (a palette of
    // colours); a null image for n outside 1..72. Decoded on the first call
    // for n, on any thread: threads that draw side by side share one list.
    const QImage& picture(int n) const;

    // Picture n smoothly scaled to side x side device pixels, ARGB32
    // premultiplied, as every cell and palette button draws it; null where
    // picture(n) is. Made on the first call for n and side, on any thread,
    // and kept: maps are drawn at a handful of sizes, and zooming back to
    // one should not scale its pictures again.
    const QImage& scaled(int n, int side) const;

    // The pixel memory held, decoded and scaled, while nothing decodes.
    std::size_t bytesHeld() const;

    // The same as an icon for a 16 x 16 palette button; sharp on high-dpi
    // screens because it is scaled from the stored size.
    QIcon icon(int n) const;

    // The program's 32 x 32 icon (also the About box's logo).
    static QImage programIcon();

  private:
    // Each picture is written once, under its flag, before anyone reads it.
    struct Pictures
    {
        std::array<QImage, Count + 1> images;
        std::array<std::once_flag, Count + 1> made;
    };
    Pictures& atSide(int side) const;

    mutable Pictures decoded_;
    mutable std::mutex sidesMutex_;         // guards the map, not the pictures
    mutable std::map<int, Pictures> sides_; // scaled, by side in device pixels
};

} // namespace delvard
