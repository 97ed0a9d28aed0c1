// Exit statuses and messages that docs/cli-examples.md does not show: usage
// errors, help, warnings with and without --strict, and what a render leaves
// behind.

#include "RunProgram.h"
#include "TestMaps.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using delvard::Owner;
using delvard::Terrain;

// The maps every case may name, written once into a scratch folder.
class MapFolder
{
  public:
    MapFolder()
    {
        writeFile(path(QStringLiteral("goodMap.kld")), TestMap(6, 5).bytes());
        writeFile(path(QStringLiteral("ownerChangedMap.kld")),
                  TestMap(6, 5).set(2, 2, Terrain::Dirt, Owner::Player).bytes());
        writeFile(path(QStringLiteral("truncatedMap.kld")), TestMap(6, 5).bytes().chopped(9));
        writeFile(path(QStringLiteral("warningMap.kld")),
                  TestMap(6, 5).set(1, 3, Terrain::Water, Owner::Neutral).bytes());
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
};

struct ExitCase
{
    const char* name;
    std::vector<const char*> args; // "@x" is file x of the map folder
    int status;
    const char* out; // expected in standard output, or nullptr
    const char* err; // expected in standard error, or nullptr
};

void PrintTo(const ExitCase& c, std::ostream* os)
{
    *os << c.name;
}

const ExitCase Cases[] = {
    {"NoCommand", {}, 2, nullptr, "no command given"},
    {"Version", {"--version"}, 0, "delvard-map 2.", nullptr},
    {"UnknownCommand", {"paint"}, 2, nullptr, "unknown command 'paint'"},
    {"RenderHelp", {"render", "-h"}, 0, "--cell-size PX", nullptr},

    {"InfoNoFile", {"info"}, 2, nullptr, "delvard-map info: no map file given"},
    {"InfoUnknownOption", {"info", "--jsn", "@goodMap.kld"}, 2, nullptr, "jsn"},
    {"DiffOneFile", {"diff", "@goodMap.kld"}, 2, nullptr, "expected two map files, got 1"},
    {"RenderNoTarget", {"render", "@goodMap.kld"}, 2, nullptr, "got 1 file names"},
    {"RenderCellTooSmall",
     {"render", "--cell-size", "3", "@goodMap.kld", "@out.png"},
     2,
     nullptr,
     "from 4 to 72, not '3'"},
    {"RenderCellTooLarge",
     {"render", "--cell-size=73", "@goodMap.kld", "@out.png"},
     2,
     nullptr,
     "not '73'"},

    {"CheckWarning",
     {"check", "@goodMap.kld", "@warningMap.kld"},
     0,
     "warningMap.kld: row 1, column 3: warning: Water on the outer ring",
     nullptr},
    {"CheckWarningStrict", {"check", "--strict", "@warningMap.kld"}, 1, "warning:", nullptr},
    {"RenderGrid",
     {"render", "@goodMap.kld", "@out.png", "--cell-size", "4", "--grid"},
     0,
     nullptr,
     nullptr},
    {"RenderUnwritable",
     {"render", "@goodMap.kld", "@no/such/folder/out.png"},
     1,
     nullptr,
     "out.png: Cannot write the picture"},
    {"DiffSame", {"diff", "@goodMap.kld", "@goodMap.kld"}, 0, nullptr, nullptr},
    {"DiffOwnerOnly",
     {"diff", "@goodMap.kld", "@ownerChangedMap.kld"},
     1,
     "row 2, column 2: Dirt / Neutral -> Dirt / Player\n1 of 30 cells differ\n",
     nullptr},
    {"DiffTruncated",
     {"diff", "@goodMap.kld", "@truncatedMap.kld"},
     2,
     nullptr,
     "truncatedMap.kld: The map is 6 x 5 cells, so 30 cell records were expected"},
};

class ProgramExitTest : public testing::TestWithParam<ExitCase>
{
  protected:
    static void SetUpTestSuite() { folder_ = new MapFolder; }
    static void TearDownTestSuite()
    {
        delete folder_;
        folder_ = nullptr;
    }
    static MapFolder* folder_;
};

MapFolder* ProgramExitTest::folder_ = nullptr;

TEST_P(ProgramExitTest, ExitStatusAndMessages)
{
    const ExitCase& c = GetParam();
    QStringList args;
    for (const char* arg : c.args) {
        const QString text = QString::fromUtf8(arg);
        args << (text.startsWith(QLatin1Char('@')) ? folder_->path(text.mid(1)) : text);
    }
    const QString picture = folder_->path(QStringLiteral("out.png"));
    QFile::remove(picture);
    const RunResult run = runProgram(args);
    EXPECT_EQ(run.status, c.status)
        << "out: " << run.out.toStdString() << "\nerr: " << run.err.toStdString();
    if (c.out) {
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.out))) << run.out.toStdString();
    }
    if (c.err) {
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.err))) << run.err.toStdString();
    } else {
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
    // A refused render leaves no picture behind, a good one a readable PNG.
    if (args.contains(picture)) {
        EXPECT_EQ(!QImage(picture).isNull(), c.status == 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, ProgramExitTest, testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
