#include "MapFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString MapFile::problem() const
{
    if (!readable())
        return readError;
    return QString::fromStdString(decoded.check.reason());
}

QString MapFile::displayName() const
{
    return QDir::toNativeSeparators(path);
}

MapFile loadMapFile(const QString& path)
{
    MapFile file;
    file.path = path;
    // QFile opens a folder without complaint and then reads nothing, which
    // would be reported as a file too short for its header.
    if (QFileInfo(path).isDir()) {
        file.readError = QStringLiteral("It is a folder, not a map file.");
        return file;
    }
    QFile device(path);
    if (!device.open(QIODevice::ReadOnly)) {
        file.readError = QStringLiteral("Cannot open the file: %1.").arg(device.errorString());
        return file;
    }
    file.bytes = device.readAll();
    if (device.error() != QFileDevice::NoError) {
        file.readError = QStringLiteral("Cannot read the file: %1.").arg(device.errorString());
        file.bytes.clear();
        return file;
    }
    file.decoded = delvard::decodeMap(
        std::string_view(file.bytes.constData(), static_cast<std::size_t>(file.bytes.size())));
    return file;
}

CellPosition cellPosition(int width, std::size_t element)
{
    if (width <= 0)
        return {1, 1};
    return {static_cast<int>(element / width) + 1, static_cast<int>(element % width) + 1};
}
