// Maps in a real git repository after `delvard-map git-setup`: git merge
// merges them cell by cell through the driver, naming the cells it cannot
// merge. (What git diff shows is among the documented examples.)

#include "FileFaults.h"
#include "MapBytes.h"
#include "RunProgram.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString MapPath = QStringLiteral("maps/someMap.kld");

// A 10 x 8 map of Rock owned by Neutral, with a Treasury of Player's at
// row 3, column 4.
std::string baseMap()
{
    std::string bytes = mapBytes(10, 8, {}, "after the records");
    std::string records;
    for (int k = 0; k < 80; ++k)
        records +=
            k == 23 ? std::string("\x0A\x03\x01\x01", 4) : std::string("\x02\x02\x01\x01", 4);
    return bytes.insert(36, records);
}

std::string painted(std::string bytes, int row, int column, char terrain, char owner)
{
    const auto at = static_cast<std::size_t>(36 + 4 * ((row - 1) * 10 + column - 1));
    return bytes.replace(at, 2, {terrain, owner});
}

// A repository of its own, with git's configuration kept from the user's
// and the system's, so that only what git-setup writes is in effect.
class Repository
{
  public:
    Repository()
    {
        environment_ = QProcessEnvironment::systemEnvironment();
        for (const QString& name : environment_.keys()) {
            if (name.startsWith(QLatin1String("GIT_")) || name == QLatin1String("XDG_CONFIG_HOME"))
                environment_.remove(name);
        }
        environment_.insert(QStringLiteral("HOME"), home_.path());
        environment_.insert(QStringLiteral("GIT_CONFIG_NOSYSTEM"), QStringLiteral("1"));
        for (const char* who : {"GIT_AUTHOR", "GIT_COMMITTER"}) {
            environment_.insert(QLatin1String(who) + QStringLiteral("_NAME"), QStringLiteral("A"));
            environment_.insert(QLatin1String(who) + QStringLiteral("_EMAIL"),
                                QStringLiteral("a@b"));
        }
        ok_ = git({QStringLiteral("init"), QStringLiteral("-q"), QStringLiteral("-b"),
                   QStringLiteral("main")})
                      .status == 0 &&
              QDir(path()).mkpath(QStringLiteral("maps"));
    }

    bool ok() const { return ok_; }
    QString path() const { return dir_.path(); }

    RunResult git(const QStringList& args)
    {
        return runProcess(QStringLiteral("git"), args, path(), environment_);
    }
    RunResult delvardMap(const QStringList& args)
    {
        return runProcess(QStringLiteral(DELVARD_MAP_EXE), args, path(), environment_);
    }
    // Writes the map and commits it on the branch checked out.
    bool commit(const std::string& map, const char* message)
    {
        return writeMap(map) && git({QStringLiteral("add"), QStringLiteral(".")}).status == 0 &&
               git({QStringLiteral("commit"), QStringLiteral("-q"), QStringLiteral("-m"),
                    QLatin1String(message)})
                       .status == 0;
    }
    bool checkout(const char* branch, const char* from = nullptr)
    {
        QStringList args{QStringLiteral("checkout"), QStringLiteral("-q")};
        if (from != nullptr)
            args << QStringLiteral("-b");
        args << QLatin1String(branch);
        if (from != nullptr)
            args << QLatin1String(from);
        return git(args).status == 0;
    }
    bool writeMap(const std::string& map)
    {
        return writeAll(QDir(path()).filePath(MapPath), QByteArray::fromStdString(map));
    }
    std::string map() const { return readAll(QDir(path()).filePath(MapPath)).toStdString(); }
    QByteArray file(const QString& name) const { return readAll(QDir(path()).filePath(name)); }

  private:
    QTemporaryDir dir_;
    QTemporaryDir home_;
    QProcessEnvironment environment_;
    bool ok_ = false;
};

} // namespace

TEST(Git, SetupSetsTheDriversOnceAndCallsThisProgramByItsPath)
{
    Repository repo;
    ASSERT_TRUE(repo.ok());
    const RunResult first = repo.delvardMap({QStringLiteral("git-setup")});
    ASSERT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_EQ(
        first.out.toStdString(),
        "git config: set diff.delvard.textconv\n"
        "git config: set diff.delvard.cachetextconv\n"
        "git config: set merge.delvard.name\n"
        "git config: set merge.delvard.driver\n"
        ".gitattributes: added *[mM][aA][pP].[kK][lL][dD] -text diff=delvard merge=delvard\n");
    const QString program = QFileInfo(QStringLiteral(DELVARD_MAP_EXE)).canonicalFilePath();
    EXPECT_EQ(repo.git({QStringLiteral("config"), QStringLiteral("merge.delvard.driver")}).out,
              QStringLiteral("'%1' merge %O %A %B %P\n").arg(program));

    const QByteArray config = repo.file(QStringLiteral(".git/config"));
    const QByteArray attributes = repo.file(QStringLiteral(".gitattributes"));
    const RunResult again = repo.delvardMap({QStringLiteral("git-setup")});
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(again.out.startsWith(QStringLiteral("Nothing to change")))
        << again.out.toStdString();
    EXPECT_EQ(repo.file(QStringLiteral(".git/config")), config);
    EXPECT_EQ(repo.file(QStringLiteral(".gitattributes")), attributes);
}

TEST(Git, BranchesMergeCellByCellAndConflictsNameTheirCell)
{
    Repository repo;
    ASSERT_TRUE(repo.ok());
    ASSERT_EQ(repo.delvardMap({QStringLiteral("git-setup")}).status, 0);
    const std::string base = baseMap();
    ASSERT_TRUE(repo.commit(base, "base"));

    // Two corners painted on two branches.
    const std::string topLeft = painted(painted(base, 1, 1, 0x0B, 0x04), 2, 2, 0x0B, 0x04);
    const std::string bottomRight = painted(painted(base, 8, 10, 0x0C, 0x05), 7, 9, 0x0C, 0x05);
    ASSERT_TRUE(repo.checkout("top-left", "main") && repo.commit(topLeft, "top left"));
    ASSERT_TRUE(repo.checkout("bottom-right", "main") && repo.commit(bottomRight, "bottom right"));
    ASSERT_TRUE(repo.checkout("top-left"));
    const RunResult clean = repo.git(
        {QStringLiteral("merge"), QStringLiteral("--no-edit"), QStringLiteral("bottom-right")});
    EXPECT_EQ(clean.status, 0) << clean.out.toStdString() << clean.err.toStdString();
    EXPECT_EQ(repo.map(), painted(painted(topLeft, 8, 10, 0x0C, 0x05), 7, 9, 0x0C, 0x05));

    // The same cell painted differently; the branch's other cell still comes in.
    const std::string portal = painted(painted(base, 1, 1, 0x0C, 0x05), 5, 5, 0x06, 0x02);
    ASSERT_TRUE(repo.checkout("portal", "main") && repo.commit(portal, "portal"));
    ASSERT_TRUE(repo.checkout("top-left"));
    const RunResult conflict =
        repo.git({QStringLiteral("merge"), QStringLiteral("--no-edit"), QStringLiteral("portal")});
    EXPECT_EQ(conflict.status, 1);
    EXPECT_TRUE(conflict.err.contains(QStringLiteral(
        "maps/someMap.kld: row 1, column 1: ours Lair, Keeper 1, theirs Portal, Keeper 2, base "
        "Rock, Neutral\n")))
        << conflict.err.toStdString();
    EXPECT_EQ(repo.git({QStringLiteral("status"), QStringLiteral("--porcelain")}).out,
              QStringLiteral("UU maps/someMap.kld\n"));
    EXPECT_EQ(repo.map(), painted(painted(painted(topLeft, 8, 10, 0x0C, 0x05), 7, 9, 0x0C, 0x05), 5,
                                  5, 0x06, 0x02));
    ASSERT_EQ(repo.git({QStringLiteral("merge"), QStringLiteral("--abort")}).status, 0);

    // Both sides make the map narrower: nothing is merged, ours stays.
    const std::string narrow = std::string(base).replace(20, 1, 1, '\x09');
    const std::string ours = painted(narrow, 2, 3, 0x03, 0x02);
    ASSERT_TRUE(repo.checkout("narrow-ours", "main") && repo.commit(ours, "narrow"));
    ASSERT_TRUE(repo.checkout("narrow-theirs", "main") &&
                repo.commit(painted(narrow, 4, 4, 0x04, 0x02), "narrow too"));
    ASSERT_TRUE(repo.checkout("narrow-ours"));
    const RunResult refused = repo.git(
        {QStringLiteral("merge"), QStringLiteral("--no-edit"), QStringLiteral("narrow-theirs")});
    EXPECT_NE(refused.status, 0);
    EXPECT_TRUE(refused.err.contains(QStringLiteral(
        "delvard-map merge: maps/someMap.kld: not merged, ours is left as it was. The versions "
        "differ in size: the common ancestor is 10 x 8 cells, ours 9 x 8, theirs 9 x 8;")))
        << refused.err.toStdString();
    EXPECT_EQ(repo.map(), ours);
}
