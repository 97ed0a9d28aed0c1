#include "RunProgram.h"
#include "TestMaps.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The maps every case may name, written once into a scratch folder.
class MapFolder
{
  public:
    MapFolder()
    {
        write("goodMap.kld", TestMap(6, 5).bytes());
        write("changedMap.kld", TestMap(6, 5).set(2, 3, 3, 3).set(4, 5, 24, 2).bytes());
        write("otherSizeMap.kld", TestMap(5, 6).bytes());
        write("shortMap.kld", QByteArray(10, '\x01'));
        write("truncatedMap.kld", TestMap(6, 5).bytes().chopped(9));
        write("unknownFirstMap.kld", TestMap(6, 5).setBytes(1, 1, 0x30, 2).bytes());
        write("unknownLaterMap.kld", TestMap(6, 5).setBytes(4, 2, 0x03, 0x0C).bytes());
        write("widthZeroMap.kld", TestMap(0, 4).bytes());
        write("heightZeroMap.kld", TestMap(4, 0).bytes());
        write("warningMap.kld", TestMap(6, 5).set(1, 3, 24, 2).bytes());
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

  private:
    void write(const char* name, const QByteArray& bytes)
    {
        QFile file(dir_.filePath(QLatin1String(name)));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
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
    {"ProgramHelp", {"--help"}, 0, "Usage: delvard-map COMMAND", nullptr},
    {"Version", {"--version"}, 0, "delvard-map 2.", nullptr},
    {"UnknownCommand", {"paint"}, 2, nullptr, "unknown command 'paint'"},

    {"InfoHelp", {"info", "--help"}, 0, "Usage: delvard-map info", nullptr},
    {"InfoGood", {"info", "@goodMap.kld"}, 0, "size:           6 x 5 cells", nullptr},
    {"InfoNoFile", {"info"}, 2, nullptr, "no map file given"},
    {"InfoUnknownOption", {"info", "--jsn", "@goodMap.kld"}, 2, nullptr, "jsn"},
    {"InfoTooShort", {"info", "@shortMap.kld"}, 1, nullptr, "shortMap.kld: The file is 10 bytes"},
    {"InfoMissing", {"info", "@goneMap.kld"}, 1, nullptr, "goneMap.kld: The file does not exist"},
    {"InfoGoodAndBad",
     {"info", "@goodMap.kld", "@truncatedMap.kld"},
     1,
     "goodMap.kld",
     "truncatedMap.kld: The map is 6 x 5 cells, so 30 cell records were expected, but the "
     "file holds only 27."},
    {"InfoUnknownCodes",
     {"info", "@unknownLaterMap.kld"},
     0,
     "row 4, column 2: unknown owner code 0x0C",
     nullptr},

    {"CheckHelp", {"check", "--help"}, 0, "Warnings (exit status 0, or 1 with --strict)", nullptr},
    {"CheckGood", {"check", "@goodMap.kld", "@changedMap.kld"}, 0, nullptr, nullptr},
    {"CheckNoFile", {"check"}, 2, nullptr, "no map file given"},
    {"CheckWarning",
     {"check", "@warningMap.kld"},
     0,
     "row 1, column 3: warning: Water on the outer ring",
     nullptr},
    {"CheckWarningStrict", {"check", "--strict", "@warningMap.kld"}, 1, "warning:", nullptr},
    {"CheckTooShort",
     {"check", "@shortMap.kld"},
     1,
     "shortMap.kld: error: The file is 10 bytes long",
     nullptr},
    {"CheckTruncated",
     {"check", "@truncatedMap.kld"},
     1,
     "30 cell records were expected, but the file holds only 27",
     nullptr},
    {"CheckUnknownFirst",
     {"check", "@unknownFirstMap.kld"},
     1,
     "row 1, column 1: error: unknown terrain code 0x30",
     nullptr},
    {"CheckUnknownLater",
     {"check", "@goodMap.kld", "@unknownLaterMap.kld"},
     1,
     "unknownLaterMap.kld: row 4, column 2: error: unknown owner code 0x0C",
     nullptr},
    {"CheckWidthZero", {"check", "@widthZeroMap.kld"}, 1, "0 x 4 cells", nullptr},
    {"CheckHeightZero", {"check", "@heightZeroMap.kld"}, 1, "4 x 0 cells", nullptr},
    {"CheckMissing",
     {"check", "@goneMap.kld"},
     1,
     "goneMap.kld: error: The file does not exist",
     nullptr},

    {"RenderHelp", {"render", "--help"}, 0, "--cell-size PX", nullptr},
    {"RenderGood",
     {"render", "@goodMap.kld", "@out.png", "--cell-size", "8", "--grid"},
     0,
     nullptr,
     nullptr},
    {"RenderNoTarget",
     {"render", "@goodMap.kld"},
     2,
     nullptr,
     "expected a map file and a PNG file"},
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
    {"RenderCellNotANumber",
     {"render", "--cell-size", "big", "@goodMap.kld", "@out.png"},
     2,
     nullptr,
     "not 'big'"},
    {"RenderTruncated",
     {"render", "@truncatedMap.kld", "@out.png"},
     1,
     nullptr,
     "truncatedMap.kld: The map is 6 x 5"},
    {"RenderUnwritable",
     {"render", "@goodMap.kld", "@no/such/folder/out.png"},
     1,
     nullptr,
     "out.png: Cannot write the picture"},
    {"RenderUnknownCodes", {"render", "@unknownFirstMap.kld", "@out.png"}, 0, nullptr, nullptr},

    {"DiffHelp", {"diff", "--help"}, 0, "Usage: delvard-map diff A B", nullptr},
    {"DiffSame", {"diff", "@goodMap.kld", "@goodMap.kld"}, 0, nullptr, nullptr},
    {"DiffChanged",
     {"diff", "@goodMap.kld", "@changedMap.kld"},
     1,
     "row 2, column 3: Dirt / Neutral -> Treasury / Player\nrow 4, column 5: Dirt / Neutral -> "
     "Water / Neutral\n2 of 30 cells differ",
     nullptr},
    {"DiffUnknownCode",
     {"diff", "@unknownFirstMap.kld", "@goodMap.kld"},
     1,
     "row 1, column 1: unknown 0x30 / Neutral -> Rock / Neutral",
     nullptr},
    {"DiffOneFile", {"diff", "@goodMap.kld"}, 2, nullptr, "expected two map files, got 1"},
    {"DiffSizes", {"diff", "@goodMap.kld", "@otherSizeMap.kld"}, 2, nullptr, "is 6 x 5 cells but"},
    {"DiffMissing",
     {"diff", "@goneMap.kld", "@goodMap.kld"},
     2,
     nullptr,
     "goneMap.kld: The file does not exist"},
    {"DiffTruncated",
     {"diff", "@goodMap.kld", "@truncatedMap.kld"},
     2,
     nullptr,
     "truncatedMap.kld: The map is"},
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

    static QStringList arguments(const ExitCase& c)
    {
        QStringList args;
        for (const char* arg : c.args) {
            const QString text = QString::fromUtf8(arg);
            args << (text.startsWith(QLatin1Char('@')) ? folder_->path(text.mid(1)) : text);
        }
        return args;
    }
    static MapFolder* folder_;
};

MapFolder* ProgramExitTest::folder_ = nullptr;

TEST_P(ProgramExitTest, ExitStatusAndMessages)
{
    const ExitCase& c = GetParam();
    QFile::remove(folder_->path(QStringLiteral("out.png")));
    const RunResult run = runProgram(arguments(c));
    EXPECT_EQ(run.status, c.status)
        << "out: " << run.out.toStdString() << "\nerr: " << run.err.toStdString();
    if (c.out) {
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(c.out))) << run.out.toStdString();
    }
    if (c.err) {
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.err))) << run.err.toStdString();
    }
    if (c.status == 0 || (c.out && !c.err)) {
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
    if (c.status == 2 && c.err == nullptr)
        ADD_FAILURE() << "a usage error must explain itself";
    // A failed render leaves no picture behind, a good one a readable PNG.
    if (!c.args.empty() && std::string(c.args[0]) == "render" && c.args.size() > 1 &&
        std::string(c.args[1]) != "--help") {
        const QImage picture(folder_->path(QStringLiteral("out.png")));
        EXPECT_EQ(!picture.isNull(), c.status == 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, ProgramExitTest, testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
