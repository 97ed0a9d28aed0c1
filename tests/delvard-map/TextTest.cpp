// delvard-map text, which git shows in place of a map's bytes.

#include "FileFaults.h"
#include "MapBytes.h"
#include "MapText.h"
#include "RunProgram.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace delvard;

namespace {

// Unknown codes (the first cell's terrain, before any known one), records
// whose unread bytes are not 01 01, and a tail longer than a line of hex.
std::string oddMap()
{
    return mapBytes(3, 2,
                    {{0x30, 0x03, 1, 1},
                     {0x0B, 0x04, 0, 0},
                     {0x1E, 0x09, 1, 1},
                     {0x0E, 0x03, 1, 7},
                     {0x27, 0xFF, 0xFF, 1},
                     {0x23, 0x01, 1, 1}},
                    "tail: forty bytes that no reader reads..");
}

} // namespace

// The golden file was read by eye when it was made; DELVARD_UPDATE_GOLDEN=1
// writes it again after a deliberate change.
TEST(MapText, TheProgramWritesTheCommittedText)
{
    QTemporaryDir dir;
    const QString map = dir.filePath(QStringLiteral("oddMap.kld"));
    ASSERT_TRUE(writeAll(map, QByteArray::fromStdString(oddMap())));
    const RunResult run = runProgram({QStringLiteral("text"), map});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QString golden =
        QStringLiteral(DELVARD_SOURCE_DIR "/tests/delvard-map/golden/odd-3x2.txt");
    if (qEnvironmentVariableIsSet("DELVARD_UPDATE_GOLDEN")) {
        ASSERT_TRUE(writeAll(golden, run.out.toUtf8()));
    }
    EXPECT_EQ(run.out.toStdString(), readAll(golden).toStdString());
}

// What git's diff relies on: no two files give the same text.
TEST(MapText, EveryByteOfEveryKindOfFileShows)
{
    const std::string files[] = {oddMap(), mapBytes(0, 5, {{0x02, 0x02, 1, 1}}, "xy"),
                                 oddMap().substr(0, 50), oddMap().substr(0, 20)};
    for (const std::string& bytes : files) {
        const std::string text = mapText(bytes);
        EXPECT_EQ(text.find('\r'), std::string::npos);
        for (std::size_t offset = 0; offset < bytes.size(); ++offset) {
            std::string changed = bytes;
            changed[offset] = static_cast<char>(changed[offset] ^ 0x40);
            EXPECT_NE(mapText(changed), text) << "byte " << offset << " of " << bytes.size();
        }
        EXPECT_NE(mapText(bytes + '\0'), text);
    }
}
