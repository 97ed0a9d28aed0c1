#include "document/FileReader.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace delvard;

namespace {

// A scratch folder holding one thing of every kind a user's system can hand
// over in place of a map file.
class Oddities
{
  public:
    Oddities()
    {
        const QByteArray root = QFile::encodeName(dir_.path());
        QFile map(dir_.filePath(QStringLiteral("aMap.kld")));
        map.open(QIODevice::WriteOnly);
        map.write("map bytes");
        map.close();
        QFile huge(dir_.filePath(QStringLiteral("hugeMap.kld")));
        huge.open(QIODevice::WriteOnly);
        huge.resize(qint64(MapFiles.maxBytes) * 16 + 1); // sparse: no disk space used
        huge.close();
        QDir(dir_.path()).mkdir(QStringLiteral("folderMap.kld"));
        ::mkfifo(root + "/pipeMap.kld", 0644);
        ::symlink("aMap.kld", root + "/linkMap.kld");
        ::symlink("goneMap.kld", root + "/danglingMap.kld");
        ::symlink("loopB.kld", root + "/loopA.kld");
        ::symlink("loopA.kld", root + "/loopB.kld");
        socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = root + "/socketMap.kld";
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.constData());
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    ~Oddities() { ::close(socket_); }
    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
    QStringList entries() const
    {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    }

  private:
    QTemporaryDir dir_;
    int socket_ = -1;
};

struct Refusal
{
    std::string name;
    const char* reason; // part of what the user is told
};

void PrintTo(const Refusal& refusal, std::ostream* os)
{
    *os << refusal.name.substr(0, 20);
}

class RefusedInput : public ::testing::TestWithParam<Refusal>
{
};

// Each of these is refused at once, nothing is created, and a pipe with no
// writer is never opened (a test that blocked here would hit ctest's timeout).
TEST_P(RefusedInput, IsNamedForWhatItIsAndNothingIsCreated)
{
    const Oddities files;
    const QStringList before = files.entries();
    const FileRead read = readMapFile(nativePath(files.path(GetParam().name.c_str())));
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.bytes.empty());
    const std::string told = describeProblem(read.problem, MapFiles).toStdString();
    EXPECT_NE(told.find(GetParam().reason), std::string::npos) << told;
    EXPECT_EQ(files.entries(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RefusedInput,
    ::testing::Values(
        Refusal{"goneMap.kld", "does not exist"}, Refusal{"folderMap.kld", "This is a folder"},
        Refusal{"pipeMap.kld", "This is a named pipe"},
        Refusal{"socketMap.kld", "This is a socket"},
        Refusal{"danglingMap.kld", "symbolic link to \"goneMap.kld\", which does not exist"},
        Refusal{"loopA.kld", "Too many levels of symbolic links"},
        Refusal{"hugeMap.kld", "1,073,741,825 bytes long; a map file is never larger than 64 MiB"},
        Refusal{std::string(300, 'n') + "Map.kld", "File name too long"}));

// The settings file and the guide are read as carefully as a map, each
// within a bound of its own.
TEST(ReadWholeFile, EveryKindOfFileIsRefusedInItsOwnWords)
{
    const Oddities files;
    const FileRead pipe = readWholeFile(nativePath(files.path("pipeMap.kld")), SettingsFiles);
    EXPECT_EQ(describeProblem(pipe.problem, SettingsFiles),
              QStringLiteral("This is a named pipe, not a settings file."));
    EXPECT_FALSE(pipe.missing);
    const FileRead huge = readWholeFile(nativePath(files.path("hugeMap.kld")), GuideFiles);
    EXPECT_EQ(describeProblem(huge.problem, GuideFiles).toStdString(),
              "The file is 1,073,741,825 bytes long; a text file is never larger than "
              "16 MiB, so it is not read.");
    EXPECT_TRUE(readWholeFile(nativePath(files.path("goneMap.kld")), SettingsFiles).missing);
}

TEST(ReadMapFile, ReadsARegularFileWholeAlsoThroughALink)
{
    EXPECT_EQ(readMapFile("/dev/zero").problem.kind, FileProblem::Kind::Device);
    const Oddities files;
    for (const char* name : {"aMap.kld", "linkMap.kld"}) {
        const FileRead read = readMapFile(nativePath(files.path(name)));
        EXPECT_TRUE(read.ok) << name;
        EXPECT_EQ(read.bytes, "map bytes");
    }
    // A system file that claims no size still reads to its end.
    const FileRead status = readMapFile("/proc/self/status");
    EXPECT_TRUE(status.ok);
    EXPECT_NE(status.bytes.find("VmRSS"), std::string::npos);
    // ... and is cut off at the bound, which then names what was read.
    constexpr FileKind Tiny{"tiny file", 64, ""};
    const FileRead cut = readWholeFile("/proc/self/status", Tiny);
    EXPECT_EQ(cut.problem.kind, FileProblem::Kind::TooLarge);
    EXPECT_GT(cut.problem.size, Tiny.maxBytes);
    EXPECT_LE(cut.problem.size, status.bytes.size());
    EXPECT_TRUE(cut.bytes.empty());
}

TEST(NativeFileName, BytesThatAreNotUtf8SurviveTheRoundTripAndShowLegibly)
{
    const QByteArray bytes("/tmp/caf\xc3\xa9 n\xff\xfe"
                           "e\xe2\x82Map.kld");
    const QString name = decodeNativeName(bytes);
    EXPECT_EQ(nativePath(name).string(), bytes.toStdString());
    EXPECT_EQ(displayName(name), QStringLiteral("/tmp/caf\u00e9 n\\xFF\\xFEe\\xE2\\x82Map.kld"));
    EXPECT_EQ(nativePath(QStringLiteral("/tmp/Gr\u00fc\u00dfeMap.kld")).string(),
              "/tmp/Gr\xc3\xbc\xc3\x9f"
              "eMap.kld");
    EXPECT_EQ(fromNativePath(nativePath(name)), name);
    // A name never breaks a line or reaches the terminal as a command.
    EXPECT_EQ(displayName(decodeNativeName("/tmp/a\nb\x1b[2Jc\\d\xc2\x85\x1fMap.kld")),
              QStringLiteral("/tmp/a\\x0Ab\\x1B[2Jc\\\\d\\xC2\\x85\\x1FMap.kld"));
    // The C1 controls from U+0080 to U+009F, and DEL; a no-break space is text.
    EXPECT_EQ(displayName(decodeNativeName("/tmp/\xc2\x80\xc2\x9f\x7f\xc2\xa0Map.kld")),
              QStringLiteral("/tmp/\\xC2\\x80\\xC2\\x9F\\x7F\u00a0Map.kld"));
}

} // namespace
