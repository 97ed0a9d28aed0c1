#include "ImageList.h"

#include <QString>

namespace {

QString picturePath(int n)
{
    return QStringLiteral(":/pictures/%1.png").arg(n, 2, 10, QLatin1Char('0'));
}

QImage loadPicture(const QString& path)
{
    QImage image(path);
    // Every picture is compiled in, so a missing one is a build fault, not
    // something the user can mend; it shows as an empty cell.
    if (image.isNull())
        qWarning("ImageList: cannot load %s", qPrintable(path));
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

// Qt keeps resources of a static library out of the program unless something
// refers to them; this is that reference.
static void initPictureResources()
{
    Q_INIT_RESOURCE(resources);
}

const ImageList& ImageList::instance()
{
    static const ImageList list;
    return list;
}

ImageList::ImageList()
{
    initPictureResources();
    for (int n = 1; n <= Count; ++n)
        images_[n] = loadPicture(picturePath(n));
}

const QImage& ImageList::image(int n) const
{
    static const QImage none;
    if (n < 1 || n > Count)
        return none;
    return images_[n];
}

QIcon ImageList::icon(int n) const
{
    const QImage& source = image(n);
    if (source.isNull())
        return {};
    // The toolbar asks for 16 x 16 logical pixels; offering the sizes a 1x,
    // 2x and 3x screen need, each scaled by area averaging from the stored
    // picture, lets a 2x screen draw the 32 x 32 pictures pixel for pixel.
    QIcon icon;
    for (const int side : {16, 32, 48}) {
        if (side > source.width())
            break; // QIcon scales the largest one up where a screen needs more
        if (source.width() == side && source.height() == side) {
            icon.addPixmap(QPixmap::fromImage(source));
            continue;
        }
        icon.addPixmap(QPixmap::fromImage(
            source.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    }
    return icon;
}

QImage ImageList::programIcon()
{
    initPictureResources();
    return loadPicture(QStringLiteral(":/icon/delvard.png"));
}
