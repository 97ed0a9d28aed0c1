// Writes the source file that holds builtCellColours(): the average colour
// of every terrain and owner, worked out from the pictures compiled into
// the program by the code that would otherwise do it at every thumbnail.
// The file is kept in the source tree; run this after changing a picture:
//
//   delvard_cell_colour_table <source>/drawing/CellColourTable.cpp

#include "document/MapRules.h"
#include "drawing/CellColours.h"
#include "resources/PictureList.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    using namespace delvard;
    if (argc != 2) {
        std::fprintf(stderr, "usage: delvard_cell_colour_table OUT.cpp\n");
        return 2;
    }
    const PictureList pictures;
    // A picture that did not decode would leave its cells black in every
    // thumbnail, quietly; here it stops the build.
    for (int n = 1; n < FirstOwnerPicture + OwnerCount; ++n) {
        if (pictures.picture(n).isNull()) {
            std::fprintf(stderr, "delvard_cell_colour_table: picture %d cannot be decoded\n", n);
            return 1;
        }
    }
    const CellColours::Table table = CellColours::fromPictures(pictures);

    std::ostringstream text;
    text << "// Written by delvard_cell_colour_table from the pictures: their average\n"
            "// colours (CellColours::fromPictures). Not to be edited; run the maker\n"
            "// again after changing a picture.\n"
            "#include \"drawing/CellColours.h\"\n\n"
            "namespace delvard {\n\n"
            "const CellColours::Table& builtCellColours()\n{\n"
            "    // One line a terrain, one column an owner.\n"
            "    // clang-format off\n"
            "    static const CellColours::Table table = {\n";
    for (int terrain = 0; terrain < CellSlots::Terrains; ++terrain) {
        text << "       ";
        for (int owner = 0; owner < CellSlots::Owners; ++owner) {
            char colour[16];
            std::snprintf(
                colour, sizeof colour, " 0x%08xu,",
                table[CellSlots::of(static_cast<Terrain>(terrain), static_cast<Owner>(owner))]);
            text << colour;
        }
        text << '\n';
    }
    text << "    };\n    // clang-format on\n    return table;\n}\n\n} // namespace delvard\n";

    // Written beside the target and then renamed: a run that failed leaves
    // the table as it was, never half of one.
    const std::filesystem::path target(argv[1]);
    std::filesystem::path unfinished = target;
    unfinished += ".new";
    std::ofstream out(unfinished, std::ios::binary | std::ios::trunc);
    out << text.str();
    out.close();
    std::error_code error;
    if (out)
        std::filesystem::rename(unfinished, target, error);
    if (!out || error) {
        std::fprintf(stderr, "delvard_cell_colour_table: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
