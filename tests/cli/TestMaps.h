#pragma once

#include "CodeTables.h"
#include "MapCodec.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

// A map for a test, cell by cell, turned into file bytes; everything starts
// as neutral Dirt inside a ring of neutral Rock, which no check complains
// about, so a test changes only the cells it is about.
struct TestMap
{
    static constexpr int Rock = 22;
    static constexpr int Dirt = 23;
    static constexpr int Neutral = 2;

    int width;
    int height;
    std::vector<std::uint8_t> terrainBytes;
    std::vector<std::uint8_t> ownerBytes;
    QByteArray trailing;

    TestMap(int w, int h) : width(w), height(h)
    {
        const std::size_t cells = w * h == 0 ? 1 : static_cast<std::size_t>(w) * h;
        terrainBytes.assign(cells, *delvard::terrainCodeOfIndex(Dirt));
        ownerBytes.assign(cells, Neutral);
        for (int r = 1; r <= h; ++r)
            for (int c = 1; c <= w; ++c)
                if (r == 1 || c == 1 || r == h || c == w)
                    set(r, c, Rock, Neutral);
    }

    std::size_t element(int row, int column) const
    {
        return static_cast<std::size_t>(row - 1) * width + (column - 1);
    }
    // Terrain tool index and owner code, as the palette names them.
    TestMap& set(int row, int column, int terrain, int owner)
    {
        terrainBytes[element(row, column)] = *delvard::terrainCodeOfIndex(terrain);
        ownerBytes[element(row, column)] = static_cast<std::uint8_t>(owner);
        return *this;
    }
    TestMap& fill(int top, int left, int rows, int columns, int terrain, int owner)
    {
        for (int r = top; r < top + rows; ++r)
            for (int c = left; c < left + columns; ++c)
                set(r, c, terrain, owner);
        return *this;
    }
    // Raw bytes, for codes that no table knows.
    TestMap& setBytes(int row, int column, std::uint8_t terrain, std::uint8_t owner)
    {
        terrainBytes[element(row, column)] = terrain;
        ownerBytes[element(row, column)] = owner;
        return *this;
    }

    QByteArray bytes() const
    {
        QByteArray bytes(static_cast<qsizetype>(delvard::HeaderSize), '\x05');
        bytes[delvard::WidthOffset] = static_cast<char>(width);
        bytes[delvard::HeightOffset] = static_cast<char>(height);
        for (std::size_t k = 0; k < terrainBytes.size(); ++k) {
            bytes.append(static_cast<char>(terrainBytes[k]));
            bytes.append(static_cast<char>(ownerBytes[k]));
            bytes.append('\x00');
            bytes.append('\x09');
        }
        return bytes + trailing;
    }
};

inline delvard::DecodedMap decoded(const QByteArray& bytes)
{
    return delvard::decodeMap({bytes.constData(), static_cast<std::size_t>(bytes.size())});
}

inline QString samplePath(const char* name)
{
    return QStringLiteral(DELVARD_SAMPLES_DIR "/") + QLatin1String(name);
}
