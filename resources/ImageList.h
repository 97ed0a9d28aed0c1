#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The picture list: 72 numbered pictures (from 1) compiled into the program.
// Pictures 1-35 are the cell pictures of terrain tools 1-35, 36-42 the owner
// pictures of owner codes 1-7, 43-72 serve the toolbar only.
class ImageList
{
  public:
    static constexpr int Count = 72;

    static const ImageList& instance();

    // Picture n (1..72) at its stored size, ARGB32 premultiplied; a null
    // image for n outside 1..72.
    const QImage& image(int n) const;

    // The same as an icon for a 16 x 16 toolbar button; sharp on high-dpi
    // screens because it is scaled from the stored size.
    QIcon icon(int n) const;

    // The program's 32 x 32 icon (also the About box's logo).
    static QImage programIcon();

  private:
    ImageList();
    QImage images_[Count + 1];
};
