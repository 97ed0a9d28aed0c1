#include "document/ProblemWords.h"
#include "tests/document/MapBytes.h"

#include <gtest/gtest.h>

using namespace delvard;

TEST(MapFormat, DamagedFilesAreNamedWithTheirNumbers)
{
    const struct
    {
        std::string bytes;
        const char* reason;
    } damaged[] = {
        {"", "The file is 0 bytes long, too short for the 36-byte map header."},
        {std::string(35, 'x'), "The file is 35 bytes long, too short for the 36-byte map header."},
        {mapBytes(10, 8, {}, std::string(4 * 41 + 3, 'r')),
         "The map is 10 x 8 cells, so 80 cell records were expected, but the file holds only 41."},
        {mapBytes(0, 9), "The map is 0 x 9 cells, so 1 cell records were expected, but the file "
                         "holds only 0."},
    };
    for (const auto& d : damaged) {
        const DecodedMap decoded = decodeMap(d.bytes);
        EXPECT_FALSE(decoded.check.ok());
        EXPECT_EQ(describeProblem(decoded.check).toStdString(), d.reason);
        EXPECT_TRUE(decoded.map.cells.empty());
    }
}
