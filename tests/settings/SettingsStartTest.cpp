#include "Module1.h"
#include "ReadOnlyPath.h"
#include "Settings.h"

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
        Module1::SettingsPath.clear();
        Module1::MapFolder.clear();
    }

    void TearDown() override
    {
        Module1::SettingsPath.clear();
        Module1::MapFolder.clear();
    }

    // What the main window does with the result on the first run.
    void storeAfterFirstRun(const SettingsStart& start, const QString& folder)
    {
        Module1::SettingsPath = start.path;
        Module1::MapFolder = folder;
        QString problem;
        ASSERT_TRUE(storeMapFolder(&problem)) << problem.toStdString();
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

    const SettingsStart start = prepareSettingsFile(programFolder, fallbackFolder);

    EXPECT_TRUE(start.usable);
    EXPECT_FALSE(start.fellBack);
    EXPECT_TRUE(start.problem.isEmpty()) << start.problem.toStdString();
    EXPECT_EQ(start.path, programIni);
    EXPECT_EQ(start.firstRun, c.firstRun);
    ASSERT_TRUE(QFileInfo::exists(programIni));
    EXPECT_EQ(readAll(programIni), c.content.value_or(QByteArray()));
    EXPECT_EQ(GetIniValue(Paths, Map, start.path), c.mapFolder);
    EXPECT_FALSE(QFileInfo::exists(fallbackIni));
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsStartInProgramFolder,
                         ::testing::ValuesIn(existingFileCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsStartTest, FirstRunOnlyUntilTheFolderIsStored)
{
    const SettingsStart first = prepareSettingsFile(programFolder, fallbackFolder);
    ASSERT_TRUE(first.firstRun);
    storeAfterFirstRun(first, QStringLiteral("/home/me/maps"));

    const SettingsStart second = prepareSettingsFile(programFolder, fallbackFolder);
    EXPECT_FALSE(second.firstRun);
    EXPECT_EQ(second.path, programIni);
    EXPECT_EQ(GetIniValue(Paths, Map, second.path), QStringLiteral("/home/me/maps"));
}

TEST_F(SettingsStartTest, ReadOnlyProgramFolderFallsBackToUserFolder)
{
    ReadOnlyPath readOnly(programFolder);
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a folder read-only here: " << readOnly.why().toStdString();

    const SettingsStart first = prepareSettingsFile(programFolder, fallbackFolder);
    EXPECT_TRUE(first.usable);
    EXPECT_TRUE(first.fellBack);
    EXPECT_TRUE(first.firstRun);
    EXPECT_EQ(first.path, fallbackIni);
    EXPECT_TRUE(QFileInfo::exists(fallbackIni));
    EXPECT_FALSE(QFileInfo::exists(programIni));
    storeAfterFirstRun(first, QStringLiteral("/home/me/maps"));

    const SettingsStart second = prepareSettingsFile(programFolder, fallbackFolder);
    EXPECT_TRUE(second.usable);
    EXPECT_TRUE(second.fellBack);
    EXPECT_FALSE(second.firstRun);
    EXPECT_EQ(GetIniValue(Paths, Map, second.path), QStringLiteral("/home/me/maps"));
}

TEST_F(SettingsStartTest, ExistingFileInReadOnlyProgramFolderIsStillUsed)
{
    ASSERT_TRUE(writeAll(programIni, "[Paths]\nMap=/old\n"));
    ReadOnlyPath readOnly(programFolder);
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a folder read-only here: " << readOnly.why().toStdString();

    const SettingsStart start = prepareSettingsFile(programFolder, fallbackFolder);
    EXPECT_FALSE(start.fellBack);
    EXPECT_FALSE(start.firstRun);
    EXPECT_EQ(start.path, programIni);
}

TEST_F(SettingsStartTest, ReadOnlySettingsFileSeedsTheUsersOwnFile)
{
    ASSERT_TRUE(writeAll(programIni, "[Paths]\r\nMap=/shipped/maps\r\n"));
    {
        ReadOnlyPath readOnly(programIni);
        if (!readOnly.active())
            GTEST_SKIP() << "cannot make a file read-only here: " << readOnly.why().toStdString();

        const SettingsStart start = prepareSettingsFile(programFolder, fallbackFolder);
        EXPECT_TRUE(start.usable);
        EXPECT_TRUE(start.fellBack);
        EXPECT_FALSE(start.firstRun);
        EXPECT_EQ(GetIniValue(Paths, Map, start.path), QStringLiteral("/shipped/maps"));

        // The user's later choice goes to the user's file and wins from then on.
        storeAfterFirstRun(start, QStringLiteral("/my/maps"));
        const SettingsStart again = prepareSettingsFile(programFolder, fallbackFolder);
        EXPECT_FALSE(again.firstRun);
        EXPECT_EQ(GetIniValue(Paths, Map, again.path), QStringLiteral("/my/maps"));
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

    const SettingsStart start = prepareSettingsFile(programFolder, fallbackFolder);
    EXPECT_FALSE(start.usable);
    EXPECT_FALSE(start.firstRun);
    EXPECT_TRUE(start.path.isEmpty());
    EXPECT_TRUE(start.problem.contains(programIni)) << start.problem.toStdString();
    EXPECT_TRUE(start.problem.contains(fallbackIni)) << start.problem.toStdString();
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

    const SettingsStart start = prepareSettingsFile(programFolder, fallbackFolder);
    EXPECT_FALSE(start.usable);
    EXPECT_FALSE(start.firstRun);
    EXPECT_TRUE(start.problem.contains(programIni)) << start.problem.toStdString();
    EXPECT_TRUE(start.problem.contains(QDir::toNativeSeparators(fallbackFolder)))
        << start.problem.toStdString();
}

TEST_F(SettingsStartTest, StoreWritesPathsMapToSettingsPath)
{
    ASSERT_TRUE(writeAll(programIni, "; mine\n[Paths]\nMap=/old\n[Other]\nX=1\n"));
    Module1::SettingsPath = programIni;
    Module1::MapFolder = QStringLiteral("/new/maps");
    QString problem;
    EXPECT_TRUE(storeMapFolder(&problem)) << problem.toStdString();
    EXPECT_EQ(readAll(programIni), QByteArray("; mine\n[Paths]\nMap=/new/maps\n[Other]\nX=1\n"));
}

TEST_F(SettingsStartTest, StoreFailureNamesTheFile)
{
    ASSERT_TRUE(writeAll(programIni, "[Paths]\nMap=/old\n"));
    ReadOnlyPath readOnly(programIni);
    if (!readOnly.active())
        GTEST_SKIP() << "cannot make a file read-only here: " << readOnly.why().toStdString();
    Module1::SettingsPath = programIni;
    Module1::MapFolder = QStringLiteral("/new/maps");
    QString problem;
    EXPECT_FALSE(storeMapFolder(&problem));
    EXPECT_TRUE(problem.contains(programIni)) << problem.toStdString();
    EXPECT_EQ(GetIniValue(Paths, Map, programIni), QStringLiteral("/old"));
}

TEST_F(SettingsStartTest, StoreWithoutSettingsFileIsReported)
{
    Module1::MapFolder = QStringLiteral("/new/maps");
    QString problem;
    EXPECT_FALSE(storeMapFolder(&problem));
    EXPECT_FALSE(problem.isEmpty());
    EXPECT_FALSE(storeMapFolder(nullptr));
}

} // namespace
