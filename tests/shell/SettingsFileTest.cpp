#include "shell/SettingsFile.h"
#include "tests/support/FileFaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>

using namespace delvard;

namespace {

// A program folder and a user's folder (not made yet), both scratch.
class SettingsFileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        QDir(root.path()).mkdir(QStringLiteral("program"));
        programIni = SettingsFile::pathIn(programFolder);
        userIni = SettingsFile::pathIn(userFolder);
    }
    SettingsFile prepare() const { return SettingsFile::prepare(programFolder, userFolder); }
    void store(const SettingsFile& settings, const QString& folder) const
    {
        QString problem;
        ASSERT_TRUE(settings.storeMapFolder(folder, &problem)) << problem.toStdString();
    }
    QTemporaryDir root;
    QString programFolder = QDir::toNativeSeparators(root.filePath(QStringLiteral("program")));
    QString userFolder = root.filePath(QStringLiteral("config/Delvard"));
    QString programIni;
    QString userIni;
};

} // namespace

// The file beside the program is made if missing and read as it is; only an
// empty one means a first run.
TEST_F(SettingsFileTest, BesideTheProgramAnEmptyFileIsTheFirstRun)
{
    const struct
    {
        std::optional<QByteArray> content;
        bool firstRun;
        QString mapFolder;
    } cases[] = {
        {std::nullopt, true, {}},
        {QByteArray(), true, {}},
        {QByteArray("\n"), false, {}},
        {QByteArray("[Other]\nMap=/elsewhere\n"), false, {}},
        {QByteArray("[Paths]\nMap=/home/me/maps\n"), false, QStringLiteral("/home/me/maps")}};
    for (const auto& c : cases) {
        QFile::remove(programIni);
        if (c.content)
            writeAll(programIni, *c.content);
        const SettingsFile settings = prepare();
        EXPECT_EQ(settings.path(), programIni);
        EXPECT_FALSE(settings.inUserFolder());
        EXPECT_EQ(settings.firstRun(), c.firstRun);
        EXPECT_EQ(settings.mapFolder(), c.mapFolder);
        EXPECT_EQ(readAll(programIni), c.content.value_or(QByteArray()));
    }
    store(prepare(), QStringLiteral("/new/maps"));
    EXPECT_FALSE(prepare().firstRun());
    EXPECT_FALSE(QFileInfo::exists(userIni));
}

// A read-only Delvard.ini beside the program (as an installed program ships
// it) still says where the maps are: it seeds the user's own file.
TEST_F(SettingsFileTest, AReadOnlyFileBesideTheProgramSeedsTheUsersFile)
{
    writeAll(programIni, "[Paths]\r\nMap=/shipped/maps\r\n");
    {
        const Immutable readOnly(programIni);
        if (!readOnly.active())
            GTEST_SKIP() << "chattr +i does not work here";
        const SettingsFile seeded = prepare();
        EXPECT_TRUE(seeded.inUserFolder());
        EXPECT_FALSE(seeded.firstRun());
        EXPECT_EQ(seeded.mapFolder(), QStringLiteral("/shipped/maps"));
        store(seeded, QStringLiteral("/my/maps"));
        EXPECT_EQ(prepare().mapFolder(), QStringLiteral("/my/maps"));
    }
    EXPECT_EQ(readAll(programIni), QByteArray("[Paths]\r\nMap=/shipped/maps\r\n"));
}

// A packaged program never writes beside itself, even when it could (an
// administrator runs it): its Delvard.ini, if any, only seeds the user's.
TEST_F(SettingsFileTest, AnInstalledProgramKeepsItsSettingsInTheUsersFolder)
{
    const auto prepareInstalled = [this] {
        return SettingsFile::prepare(programFolder, userFolder,
                                     SettingsFile::Install::SystemInstall);
    };
    const SettingsFile first = prepareInstalled();
    EXPECT_EQ(first.path(), userIni);
    EXPECT_TRUE(first.firstRun());
    EXPECT_FALSE(QFileInfo::exists(programIni));

    QFile::remove(userIni);
    writeAll(programIni, "[Paths]\nMap=/shipped/maps\n");
    const SettingsFile seeded = prepareInstalled();
    EXPECT_FALSE(seeded.firstRun());
    store(seeded, QStringLiteral("/my/maps"));
    EXPECT_EQ(prepareInstalled().mapFolder(), QStringLiteral("/my/maps"));
    EXPECT_EQ(readAll(programIni), QByteArray("[Paths]\nMap=/shipped/maps\n"));
}

// With the program's folder read-only the user's folder is used; with that
// read-only too the run goes on without a file, and never as a first run.
TEST_F(SettingsFileTest, AReadOnlyProgramFolderSendsTheSettingsToTheUsersFolder)
{
    const Immutable readOnly(programFolder);
    if (!readOnly.active())
        GTEST_SKIP() << "chattr +i does not work here";
    const SettingsFile first = prepare();
    EXPECT_EQ(first.path(), userIni);
    EXPECT_TRUE(first.inUserFolder() && first.firstRun());
    store(first, QStringLiteral("/home/me/maps"));
    EXPECT_EQ(prepare().mapFolder(), QStringLiteral("/home/me/maps"));
    QFile::remove(userIni);
    const Immutable userReadOnly(userFolder);
    const SettingsFile none = prepare();
    EXPECT_FALSE(none.usable() || none.firstRun());
    // Each reason stands inside the sentence, as the system words it.
    EXPECT_EQ(none.problem(),
              QStringLiteral("Delvard could not create or open its settings file \"%1\" (it cannot "
                             "be created: Operation not permitted), nor \"%2\" (it cannot be "
                             "created: Operation not permitted). The map folder will not be "
                             "remembered after this run.")
                  .arg(programIni, userIni));
    EXPECT_FALSE(QFileInfo::exists(programIni));
}

// A named pipe in the settings file's place would stop the start-up for
// ever if it were opened; it is passed over for the user's own file.
TEST_F(SettingsFileTest, APipeInPlaceOfTheSettingsFileIsPassedOver)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(programIni), 0644), 0);
    const SettingsFile settings = prepare();
    EXPECT_EQ(settings.path(), userIni);
    store(settings, QStringLiteral("/home/me/maps"));
    EXPECT_EQ(prepare().mapFolder(), QStringLiteral("/home/me/maps"));
    EXPECT_TRUE(QFileInfo(programIni).isFile() == false && QFileInfo::exists(programIni));

    // Nor can the user's folder be made where a file has its name: the
    // system's reason is given.
    ASSERT_TRUE(QDir(userFolder).removeRecursively());
    QFile inTheWay(userFolder);
    ASSERT_TRUE(inTheWay.open(QIODevice::WriteOnly));
    inTheWay.close();
    EXPECT_TRUE(prepare().problem().contains(
        QStringLiteral("(the folder \"%1\" cannot be created: Not a directory)")
            .arg(QDir::toNativeSeparators(userFolder))))
        << prepare().problem().toStdString();
}

// The user's folder follows the freedesktop rules: a relative
// XDG_CONFIG_HOME does not count, and without a home there is none.
TEST(SettingsUserFolder, OnlyAbsoluteFoldersFromTheEnvironmentCount)
{
    const std::optional<QByteArray> saved[] = {
        qEnvironmentVariableIsSet("HOME") ? std::optional(qgetenv("HOME")) : std::nullopt,
        qEnvironmentVariableIsSet("XDG_CONFIG_HOME") ? std::optional(qgetenv("XDG_CONFIG_HOME"))
                                                     : std::nullopt};
    const auto set = [](const char* name, const char* value) {
        value ? qputenv(name, value) : qunsetenv(name);
    };
    QCoreApplication::setApplicationName(QStringLiteral("Delvard"));
    const struct
    {
        const char* home;
        const char* config;
        QString folder;
    } cases[] = {
        {"/home/me", "/etc/me", QStringLiteral("/etc/me/Delvard")},
        {"/home/me", "relative/config", QStringLiteral("/home/me/.config/Delvard")},
        {"/home/me", "", QStringLiteral("/home/me/.config/Delvard")},
        {nullptr, "relative/config", QString()},
        {"relative/home", nullptr, QString()},
    };
    for (const auto& c : cases) {
        set("HOME", c.home);
        set("XDG_CONFIG_HOME", c.config);
        EXPECT_EQ(SettingsFile::userFolder(), c.folder)
            << (c.home ? c.home : "(no HOME)") << ", " << (c.config ? c.config : "(no XDG)");
    }
    set("HOME", saved[0] ? saved[0]->constData() : nullptr);
    set("XDG_CONFIG_HOME", saved[1] ? saved[1]->constData() : nullptr);
}

// The map folder is read through a 255-byte buffer, as it always was (where
// a cut may fall is ProfileFileTest's).
TEST(ReadIniValue, GivesBackAtMost254Bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Delvard.ini"));
    const QString a255(255, QLatin1Char('a'));
    writeAll(path, "[Other]\nMap=wrong\n[Paths]\nMap=" + a255.toUtf8() + "\n");
    EXPECT_EQ(readIniValue(QStringLiteral("Paths"), QStringLiteral("Map"), path), a255.left(254));
}
