#include "MapCommands.h"

#include "MapCodec.h"
#include "MapFileReader.h"
#include "MapFileWriter.h"
#include "Module1.h"
#include "NativeFileName.h"

#include <QDir>

namespace mapcommands {

namespace {

QString describe(const QString& path, const QString& reason)
{
    return QStringLiteral("The map file \"%1\" cannot be opened.\n\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

OpenResult readMapIntoState(const QString& path)
{
    OpenResult result;
    const delvard::FileRead file = delvard::readMapFile(delvard::nativePath(path));
    if (!file.ok) {
        result.problem = describe(path, QString::fromStdString(file.reason));
        return result;
    }
    const std::string_view bytes(file.bytes);
    const delvard::MapCheck check = delvard::checkMapBytes(bytes);
    if (!check.ok()) {
        result.problem = describe(path, QString::fromStdString(check.reason()));
        return result;
    }

    using namespace Module1;
    MapHeader.assign(bytes.substr(0, delvard::HeaderSize));
    MapBody = std::string(bytes.substr(delvard::HeaderSize));
    MapWidth = check.width;
    MapHeight = check.height;
    MapPixelWidth = MapWidth * CellSize + 2 * CellSize;
    MapPixelHeight = MapHeight * CellSize + 2 * CellSize;
    result.loaded = true;
    return result;
}

QByteArray encodeStateForSave()
{
    using namespace Module1;
    QByteArray content;
    if (MapHeader.empty())
        return content;
    content.reserve(
        static_cast<qsizetype>(MapHeader.size() + delvard::RecordSize * MapWidth * MapHeight));
    content.append(MapHeader.data(), static_cast<qsizetype>(MapHeader.size()));
    std::size_t element = 0;
    for (int r = 1; r <= MapHeight; ++r) {
        for (int c = 1; c <= MapWidth; ++c, ++element) {
            std::uint8_t record[delvard::RecordSize] = {0, 0, 0x01, 0x01};
            // Terrain and owner are encoded apart: a cell of the first record
            // may hold an index no table has ("0" or "-35") for one of them
            // only, and restore() then supplies that byte from the file.
            if (const auto code = delvard::terrainCodeOfIndex(CellCodes[r][c][1].toInt()))
                record[0] = *code;
            const int owner = CellCodes[r][c][2].toInt();
            if (delvard::isOwnerCode(owner))
                record[1] = static_cast<std::uint8_t>(owner);
            ForeignCellCodes.restore(element, record);
            content.append(reinterpret_cast<const char*>(record), delvard::RecordSize);
        }
    }
    return content;
}

SaveResult writeToMapFile(const QByteArray& content)
{
    SaveResult result;
    const delvard::FileWrite written = delvard::writeMapOverFront(Module1::MapFilePath, content);
    if (written.ok) {
        result.saved = true;
        return result;
    }
    result.problem = QStringLiteral("The map could not be saved to \"%1\".\n\n%2\n\n"
                                    "The map is still open in the editor, unchanged.")
                         .arg(QDir::toNativeSeparators(Module1::MapFilePath), written.reason);
    return result;
}

} // namespace mapcommands
