#include "GitAttributes.h"

#include <gtest/gtest.h>

using namespace delvard;

TEST(GitAttributes, TheLineIsAddedOnceInTheFilesOwnLineEnds)
{
    const std::string line(MapAttributesLine);
    const struct
    {
        std::string before;
        std::string after;
    } added[] = {
        {"", line + "\n"},
        {"*.png binary\n", "*.png binary\n" + line + "\n"},
        {"*.png binary", "*.png binary\n" + line + "\n"},
        {"*.png binary\r\n*.txt text\r\n", "*.png binary\r\n*.txt text\r\n" + line + "\r\n"},
        // Another rule for the same names: ours, added after it, wins.
        {"*[mM][aA][pP].[kK][lL][dD] diff=other\n",
         "*[mM][aA][pP].[kK][lL][dD] diff=other\n" + line + "\n"},
        {"# " + line + "\n", "# " + line + "\n" + line + "\n"},
    };
    for (const auto& c : added) {
        const auto result = withMapAttributes(c.before);
        ASSERT_TRUE(result.has_value()) << c.before;
        EXPECT_EQ(*result, c.after);
        EXPECT_FALSE(withMapAttributes(*result).has_value()) << *result;
    }
    for (const std::string& present :
         {line, "*.png binary\n" + line + "\n*.txt text\n", "  " + line + " \r\n"})
        EXPECT_FALSE(withMapAttributes(present).has_value()) << present;
}
