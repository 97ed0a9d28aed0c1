#include "resources/PictureList.h"

#include <QString>

// Qt keeps the resources of a static library out of the program unless
// something refers to them; this is that reference. (Outside any namespace:
// the macro declares a function of the global one.)
static void loadPictureResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace delvard {

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
        qWarning("PictureList: cannot load %s", qPrintable(path));
    // Kept as decoded: a palette picture is a quarter of its 32-bit form,
    // which exists only while a copy is scaled from it.
    return image;
}

} // namespace

PictureList::PictureList()
{
    loadPictureResources();
}

const QImage& PictureList::picture(int n) const
{
    if (n < 1 || n > Count)
        return decoded_.images[0]; // never loaded: a null image
    const auto slot = static_cast<std::size_t>(n);
    std::call_once(decoded_.made[slot],
                   [this, n, slot] { decoded_.images[slot] = loadPicture(picturePath(n)); });
    return decoded_.images[slot];
}

PictureList::Pictures& PictureList::atSide(int side) const
{
    const std::lock_guard lock(sidesMutex_);
    return sides_[side]; // a map's elements stay where they are
}

const QImage& PictureList::scaled(int n, int side) const
{
    Pictures& sized = atSide(side);
    if (n < 1 || n > Count)
        return sized.images[0];
    const auto slot = static_cast<std::size_t>(n);
    std::call_once(sized.made[slot], [this, &sized, n, side, slot] {
        const QImage& source = picture(n);
        if (!source.isNull())
            sized.images[slot] =
                source.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                    .scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    });
    return sized.images[slot];
}

std::size_t PictureList::bytesHeld() const
{
    const std::lock_guard lock(sidesMutex_);
    std::size_t bytes = 0;
    const auto add = [&bytes](const Pictures& pictures) {
        for (const QImage& image : pictures.images)
            bytes += static_cast<std::size_t>(image.sizeInBytes());
    };
    add(decoded_);
    for (const auto& [side, pictures] : sides_)
        add(pictures);
    return bytes;
}

QIcon PictureList::icon(int n) const
{
    const QImage& source = picture(n);
    if (source.isNull())
        return {};
    // The palette asks for 16 x 16 logical pixels; offering the sizes a 1x,
    // 2x and 3x screen need, each scaled by area averaging from the stored
    // picture, lets a 2x screen draw the 32 x 32 pictures pixel for pixel.
    QIcon icon;
    for (const int side : {16, 32, 48}) {
        if (side > source.width())
            break; // QIcon scales the largest one up where a screen needs more
        icon.addPixmap(QPixmap::fromImage(scaled(n, side)));
    }
    return icon;
}

QImage PictureList::programIcon()
{
    loadPictureResources();
    return loadPicture(QStringLiteral(":/icon/delvard.png"))
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace delvard
