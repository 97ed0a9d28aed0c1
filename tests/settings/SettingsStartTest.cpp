#include "ReadOnlyPath.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

const QString Paths = QStringLiteral("Paths");
const QString Map = QStringLiteral("Map");

// A program folder and a per-user folder, both scratch.
class SettingsStartTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(root_.isValid());
        ASSERT_TRUE(QDir(root_.path()).mkdir(QStringLiteral("program")));
        programFolder = QDir::toNativeSeparators(root_.filePath(QStringLiteral("program")));
        // Not there yet: start-up has to make it.
        fallbackFolder = root_.filePath(QStringLiteral("config/Delvard"));
        programIni = programFolder + QDir::separator() + QStringLiteral("Delvard.ini");
        fallbackIni = QDir::toNativeSeparators(fallbackFolder) + QDir::separator() +
                      QStringLiteral("Delvard.ini");
    }

    void TearDown() override {}

    // What the main window does with the result on the first run.
    void storeAfterFirstRun(const SettingsFile& start, const QString& folder)
    {
        QString problem;
        ASSERT_TRUE(start.storeMapFolder(folder, &problem)) << problem.toStdString();
    }

    QTemporaryDir root_;
    QString programFolder;
    QString fallbackFolder;
    QString programIni;
    QString fallbackIni;
};

struct ExistingFileCase
{
    const char* name;
    std::optional<QByteArray> content; // nullopt: no settings file yet
    bool firstRun;
    QString mapFolder; // what the main window then reads
};

void PrintTo(const ExistingFileCase& c, std::ostream* os)
{
    *os << c.name;
}

const ExistingFileCase existingFileCases[] = {
    {"NoFile", std::nullopt, true, QString()},
    {"EmptyFile", QByteArray(), true, QString()},
    {"OnlyABlankLine", QByteArray("\n"), false, QString()},
    {"WithoutTheEntry", QByteArray("[Other]\nMap=/elsewhere\n"), false, QString()},
    {"WithTheEntry", QByteArray("[Paths]\nMap=/home/me/maps\n"), false,
     QStringLiteral("/home/me/maps")},
};

class SettingsStartInProgramFolder : public SettingsStartTest,
                                     public ::testing::WithParamInterface<ExistingFileCase>
{
};

TEST_P(SettingsStartInProgramFolder, UsesTheProgramFolderAndKeepsTheFile)
{
    const ExistingFileCase& c = GetParam();
    if (c.content) {
        ASSERT_TRUE(writeAll(programIni, *c.content));
    }

    const SettingsFile start = SettingsFile::prepare(programFolder, fallbackFolder);

    EXPECT_TRUE(start.usable());
    EXPECT_FALSE(start.inUserFolder());
    EXPECT_TRUE(start.problem().isEmpty()) << start.problem().toStdString();
    EXPECT_EQ(start.path(), programIni);
    EXPECT_EQ(start.firstRun(), c.firstRun);
    ASSERT_TRUE(QFileInfo::exists(programIni));
    EXPECT_EQ(readAll(programIni), c.content.value_or(QByteArray()));
    EXPECT_EQ(readIniValue(Paths, Map, start.path()), c.mapFolder);
    EXPECT_FALSE(QFileInfo::exists(fallbackIni));
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsStartInProgramFolder,
                         ::testing::ValuesIn(existingFileCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsStartTest, FirstRunOnlyUntilTheFolderIsStored)
{
    const SettingsFile first = SettingsFile::prepare(programFolder, fallbackFolder);
    ASSERT_TRUE(first.firstRun());
    storeAfterFirstRun(first, QStringLiteral("/home/me/maps"));

    const SettingsFile second = SettingsFile::prepare(programFolder, fallbackFolder);
    EXPECT_FALSE(second.firstRun());
    EXPECT_EQ(second.path(), programIni);
    EXPECT_EQ(readIniValue(Paths, Map, second.path()), QStringLiteral("/home/me/maps"));
}

TEST_F(SettingsStartTest, ReadOnlyProgramFolderFallsBackToUserFolder)
{
    ReadOnlyPath readOnly(programFolder);
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a folder read-only here: " << readOnly.why().toStdString();

    const SettingsFile first = SettingsFile::prepare(programFolder, fallbackFolder);
    EXPECT_TRUE(first.usable());
    EXPECT_TRUE(first.inUserFolder());
    EXPECT_TRUE(first.firstRun());
    EXPECT_EQ(first.path(), fallbackIni);
    EXPECT_TRUE(QFileInfo::exists(fallbackIni));
    EXPECT_FALSE(QFileInfo::exists(programIni));
    storeAfterFirstRun(first, QStringLiteral("/home/me/maps"));

    const SettingsFile second = SettingsFile::prepare(programFolder, fallbackFolder);
    EXPECT_TRUE(second.usable());
    EXPECT_TRUE(second.inUserFolder());
    EXPECT_FALSE(second.firstRun());
    EXPECT_EQ(readIniValue(Paths, Map, second.path()), QStringLiteral("/home/me/maps"));
}

TEST_F(SettingsStartTest, ExistingFileInReadOnlyProgramFolderIsStillUsed)
{
    ASSERT_TRUE(writeAll(programIni, "[Paths]\nMap=/old\n"));
    ReadOnlyPath readOnly(programFolder);
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a folder read-only here: " << readOnly.why().toStdString();

    const SettingsFile start = SettingsFile::prepare(programFolder, fallbackFolder);
    EXPECT_FALSE(start.inUserFolder());
    EXPECT_FALSE(start.firstRun());
    EXPECT_EQ(start.path(), programIni);
}

TEST_F(SettingsStartTest, ReadOnlySettingsFileSeedsTheUsersOwnFile)
{
    ASSERT_TRUE(writeAll(programIni, "[Paths]\r\nMap=/shipped/maps\r\n"));
    {
        ReadOnlyPath readOnly(programIni);
        if (!readOnly.active())
            GTEST_SKIP() << "cannot make a file read-only here: " << readOnly.why().toStdString();

        const SettingsFile start = SettingsFile::prepare(programFolder, fallbackFolder);
        EXPECT_TRUE(start.usable());
        EXPECT_TRUE(start.inUserFolder());
        EXPECT_FALSE(start.firstRun());
        EXPECT_EQ(readIniValue(Paths, Map, start.path()), QStringLiteral("/shipped/maps"));

        // The user's later choice goes to the user's file and wins from then on.
        storeAfterFirstRun(start, QStringLiteral("/my/maps"));
        const SettingsFile again = SettingsFile::prepare(programFolder, fallbackFolder);
        EXPECT_FALSE(again.firstRun());
        EXPECT_EQ(again.mapFolder(), QStringLiteral("/my/maps"));
    }
    EXPECT_EQ(readAll(programIni), QByteArray("[Paths]\r\nMap=/shipped/maps\r\n"));
}

TEST_F(SettingsStartTest, NothingUsableIsReportedWithoutFirstRun)
{
    ASSERT_TRUE(QDir().mkpath(fallbackFolder));
    ReadOnlyPath programReadOnly(programFolder);
    ReadOnlyPath fallbackReadOnly(fallbackFolder);
    if (!programReadOnly.active() || !fallbackReadOnly.active())
        GTEST_SKIP() << "cannot make a folder read-only here: "
                     << (programReadOnly.why() + fallbackReadOnly.why()).toStdString();

    const SettingsFile start = SettingsFile::prepare(programFolder, fallbackFolder);
    EXPECT_FALSE(start.usable());
    EXPECT_FALSE(start.firstRun());
    EXPECT_TRUE(start.path().isEmpty());
    EXPECT_TRUE(start.problem().contains(programIni)) << start.problem().toStdString();
    EXPECT_TRUE(start.problem().contains(fallbackIni)) << start.problem().toStdString();
    EXPECT_FALSE(QFileInfo::exists(programIni));
    EXPECT_FALSE(QFileInfo::exists(fallbackIni));
}

TEST_F(SettingsStartTest, FallbackFolderThatCannotBeMadeIsReported)
{
    ReadOnlyPath programReadOnly(programFolder);
    ASSERT_TRUE(writeAll(root_.filePath(QStringLiteral("config")), "a file, not a folder"));
    if (!programReadOnly.active())
        GTEST_SKIP() << "cannot make a folder read-only here: "
                     << programReadOnly.why().toStdString();

    const SettingsFile start = SettingsFile::prepare(programFolder, fallbackFolder);
    EXPECT_FALSE(start.usable());
    EXPECT_FALSE(start.firstRun());
    EXPECT_TRUE(start.problem().contains(programIni)) << start.problem().toStdString();
    EXPECT_TRUE(start.problem().contains(QDir::toNativeSeparators(fallbackFolder)))
        << start.problem().toStdString();
}

TEST_F(SettingsStartTest, StoringWritesPathsMapOrNamesTheFileThatRefused)
{
    ASSERT_TRUE(writeAll(programIni, "; mine\n[Paths]\nMap=/old\n[Other]\nX=1\n"));
    const SettingsFile settings = SettingsFile::prepare(programFolder, fallbackFolder);
    QString problem;
    EXPECT_TRUE(settings.storeMapFolder(QStringLiteral("/new/maps"), &problem))
        << problem.toStdString();
    EXPECT_EQ(readAll(programIni), QByteArray("; mine\n[Paths]\nMap=/new/maps\n[Other]\nX=1\n"));

    ReadOnlyPath readOnly(programIni);
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a file read-only here: " << readOnly.why().toStdString();
    EXPECT_FALSE(settings.storeMapFolder(QStringLiteral("/newer/maps"), &problem));
    EXPECT_TRUE(problem.contains(programIni)) << problem.toStdString();
    EXPECT_EQ(settings.mapFolder(), QStringLiteral("/new/maps"));
    EXPECT_FALSE(SettingsFile().storeMapFolder(QStringLiteral("/x"), &problem));
    EXPECT_FALSE(problem.isEmpty());
}

} // namespace
