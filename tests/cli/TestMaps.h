#pragma once

#include "FileFaults.h"

#include "CodeTables.h"
#include "MapFile.h"
#include "MapFormat.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <vector>

// A map for a test, cell by cell, written out as file bytes by hand (not
// by the codec under test): everything starts as neutral Dirt inside a ring
// of neutral Rock, which no check complains about, so a test changes only
// the cells it is about. Bytes 2 and 3 of each record are 0x00 and 0x09,
// which nothing may read.
struct TestMap
{
    int width;
    int height;
    std::vector<std::uint8_t> terrainBytes;
    std::vector<std::uint8_t> ownerBytes;
    QByteArray trailing;

    TestMap(int w, int h) : width(w), height(h)
    {
        const std::size_t cells = w * h == 0 ? 1 : static_cast<std::size_t>(w) * h;
        terrainBytes.assign(cells, DirtCode);
        ownerBytes.assign(cells, NeutralCode);
        for (int r = 1; r <= h; ++r)
            for (int c = 1; c <= w; ++c)
                if (r == 1 || c == 1 || r == h || c == w)
                    setBytes(r, c, RockCode, NeutralCode);
    }

    // Raw bytes, for codes that no table knows.
    TestMap& setBytes(int row, int column, std::uint8_t terrain, std::uint8_t owner)
    {
        const std::size_t k = static_cast<std::size_t>(row - 1) * width + (column - 1);
        terrainBytes[k] = terrain;
        ownerBytes[k] = owner;
        return *this;
    }

    QByteArray bytes() const
    {
        QByteArray bytes(36, '\x05');
        bytes[20] = static_cast<char>(width);
        bytes[24] = static_cast<char>(height);
        for (std::size_t k = 0; k < terrainBytes.size(); ++k)
            bytes.append(static_cast<char>(terrainBytes[k]))
                .append(static_cast<char>(ownerBytes[k]))
                .append('\x00')
                .append('\x09');
        return bytes + trailing;
    }

    // The codes as the game's files write them.
    static constexpr std::uint8_t RockCode = 0x02;
    static constexpr std::uint8_t DirtCode = 0x03;
    static constexpr std::uint8_t NeutralCode = 0x02;
};

// The map file delvard-map would load from these bytes.
inline MapFile mapFileOf(const QByteArray& bytes)
{
    return {QStringLiteral("testMap.kld"),
            {},
            delvard::decodeMap({bytes.constData(), static_cast<std::size_t>(bytes.size())})};
}

inline QString samplePath(const char* name)
{
    return QStringLiteral(DELVARD_SAMPLES_DIR "/") + QLatin1String(name);
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
