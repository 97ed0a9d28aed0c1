#include "delvard-map/CommandLine.h"
#include "delvard-map/CommandTable.h"
#include "delvard-map/git/GitAttributes.h"
#include "delvard-map/git/GitProcess.h"
#include "document/FileReader.h"
#include "document/FileWriter.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"

#include <QCoreApplication>
#include <QDir>

#include <filesystem>
#include <optional>

namespace delvard {

namespace {

// This program's absolute path with all its bytes: Qt gives none where the
// path is not UTF-8.
QString programPath()
{
#ifdef Q_OS_LINUX
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return fromNativePath(self);
#endif
    return QCoreApplication::applicationFilePath();
}

// A gitattributes file is text, read within the bound of the text files
// the programs read.
constexpr FileKind AttributesFiles{"gitattributes file", GuideFiles.maxBytes, ""};

// git hands the commands to a shell, so the path goes in single quotes, in
// which nothing but a single quote itself is special.
QString shellQuoted(const QString& text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

// A configuration value as git holds it, for a message: only its bytes that
// are not UTF-8 and its control characters are written as \xNN.
QString shownValue(const QString& value)
{
    QString shown;
    for (const QChar c : value) {
        if (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF)
            shown += QStringLiteral("\\x") + QString::number(c.unicode() - 0xDC00, 16).toUpper();
        else
            shown += withControlCharactersEscaped(c);
    }
    return shown;
}

// A variable of the environment that holds a path, with all its bytes.
QString environmentPath(const char* name)
{
#ifdef Q_OS_WIN
    return qEnvironmentVariable(name);
#else
    return decodeNativeName(qgetenv(name));
#endif
}

struct Setting
{
    const char* key;
    QString value;
};

class GitSetup
{
  public:
    GitSetup(CommandIo& io, bool global) : io_(io), global_(global) {}

    bool findAttributesFile();
    bool attributesFileIsRead();
    bool setConfig(const Setting& setting);
    bool addAttributes();
    int fail(const QString& message);
    bool changedAnything() const { return changed_; }

  private:
    QString scope() const
    {
        return global_ ? QStringLiteral("--global") : QStringLiteral("--local");
    }
    QString configName() const
    {
        return global_ ? QStringLiteral("git config --global") : QStringLiteral("git config");
    }
    QString shownAttributesFile() const;

    CommandIo& io_;
    const bool global_;
    QString attributesFile_;
    bool changed_ = false;
};

// The user's file as given; the repository's as seen from here, as git
// status would name it.
QString GitSetup::shownAttributesFile() const
{
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    const std::filesystem::path relative =
        nativePath(attributesFile_).lexically_relative(error ? std::filesystem::path() : here);
    return displayName(global_ || relative.empty() ? attributesFile_ : fromNativePath(relative));
}

int GitSetup::fail(const QString& message)
{
    io_.out.flush();
    io_.err << "delvard-map git-setup: " << message << '\n';
    return ExitProblem;
}

bool GitSetup::findAttributesFile()
{
    if (!global_) {
        const GitRun top = runGit({QStringLiteral("rev-parse"), QStringLiteral("--show-toplevel")});
        if (!top.ok()) {
            fail(top.ran ? QStringLiteral("the current folder is not in the working tree of a git "
                                          "repository (git says: %1). Run git-setup in one, or "
                                          "use --global for every repository.")
                               .arg(top.problem())
                         : top.problem());
            return false;
        }
        attributesFile_ = QDir(top.out).filePath(QStringLiteral(".gitattributes"));
        return true;
    }
    // Where git itself looks: core.attributesFile from any configuration,
    // else the XDG place.
    const GitRun configured =
        runGit({QStringLiteral("config"), QStringLiteral("--path"), QStringLiteral("--get"),
                QStringLiteral("core.attributesFile")});
    if (configured.ok() && !configured.out.isEmpty()) {
        attributesFile_ = configured.out;
        return true;
    }
    if (!configured.ran || configured.status != 1) {
        fail(QStringLiteral("cannot read core.attributesFile: %1").arg(configured.problem()));
        return false;
    }
    const QString xdg = environmentPath("XDG_CONFIG_HOME");
    const QString home = environmentPath("HOME");
    if (!xdg.isEmpty()) {
        attributesFile_ = xdg + QStringLiteral("/git/attributes");
    } else if (!home.isEmpty()) {
        attributesFile_ = home + QStringLiteral("/.config/git/attributes");
    } else {
        fail(QStringLiteral("neither HOME nor XDG_CONFIG_HOME is set, so there is no user's "
                            "attributes file to write; set core.attributesFile."));
        return false;
    }
    return true;
}

// git reads the repository's .gitattributes only where it is a file (since
// 2.32 it opens no link there), but follows a link to the user's file.
bool GitSetup::attributesFileIsRead()
{
    std::error_code error;
    if (global_ || std::filesystem::symlink_status(nativePath(attributesFile_), error).type() !=
                       std::filesystem::file_type::symlink)
        return true;
    fail(QStringLiteral("%1 is a symbolic link, which git does not read; replace it with a file.")
             .arg(shownAttributesFile()));
    return false;
}

bool GitSetup::setConfig(const Setting& setting)
{
    const QString key = QLatin1String(setting.key);
    const GitRun now = runGit({QStringLiteral("config"), scope(), QStringLiteral("--get"), key});
    // Status 1 is git's "not set".
    if (!now.ran || (now.status != 0 && now.status != 1)) {
        fail(QStringLiteral("cannot read %1 %2: %3").arg(configName(), key, now.problem()));
        return false;
    }
    const bool wasSet = now.status == 0;
    if (wasSet && now.out == setting.value)
        return true;
    const GitRun set = runGit(
        {QStringLiteral("config"), scope(), QStringLiteral("--replace-all"), key, setting.value});
    if (!set.ok()) {
        fail(QStringLiteral("cannot set %1 %2: %3").arg(configName(), key, set.problem()));
        return false;
    }
    changed_ = true;
    io_.out << configName() << ": ";
    if (wasSet)
        io_.out << "changed " << key << " (it was: " << shownValue(now.out) << ")\n";
    else
        io_.out << "set " << key << '\n';
    return true;
}

bool GitSetup::addAttributes()
{
    const std::filesystem::path path = nativePath(attributesFile_);
    const FileRead read = readWholeFile(path, AttributesFiles);
    if (!read.ok && !read.missing) {
        fail(QStringLiteral("%1: %2").arg(shownAttributesFile(),
                                          describeProblem(read.problem, AttributesFiles)));
        return false;
    }
    const std::optional<std::string> added = withMapAttributes(read.ok ? read.bytes : "");
    if (!added)
        return true;
    if (read.missing && !path.parent_path().empty()) {
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        if (error) {
            fail(QStringLiteral("%1: its folder cannot be made: %2.")
                     .arg(shownAttributesFile(), QString::fromStdString(error.message())));
            return false;
        }
    }
    const FileWrite written = replaceFile(path, *added);
    if (!written.ok) {
        fail(QStringLiteral("%1: %2").arg(shownAttributesFile(),
                                          describeProblem(written.problem, AttributesFiles)));
        return false;
    }
    changed_ = true;
    io_.out << shownAttributesFile() << ": added " << QLatin1String(MapAttributesLine) << '\n';
    return true;
}

int runGitSetup(const CommandLine& line, CommandIo& io, CommandContext&)
{
    const QString program = programPath();
    const bool global = line.isSet(QStringLiteral("global"));
    GitSetup setup(io, global);
    if (program.isEmpty() || !nativePath(program).is_absolute())
        return setup.fail(QStringLiteral("the path of this program cannot be found, so git "
                                         "cannot be told to run it."));
    if (!setup.findAttributesFile() || !setup.attributesFileIsRead())
        return ExitProblem;
    // The path byte for byte: git holds any byte in a value but NUL, which
    // no path has. "--" keeps a file name that starts with "-" a name: git
    // adds the file to the text command, and %P is the repository's path.
    // In the driver git reads %% as %, so a % in the path is doubled.
    const QString self = shellQuoted(program);
    QString driverSelf = self;
    driverSelf.replace(u'%', QStringLiteral("%%"));
    const Setting settings[] = {
        {"diff.delvard.textconv", self + QStringLiteral(" text --")},
        {"diff.delvard.cachetextconv", QStringLiteral("true")},
        {"merge.delvard.name", QStringLiteral("Delvard maps, cell by cell (delvard-map merge)")},
        {"merge.delvard.driver", driverSelf + QStringLiteral(" merge -- %O %A %B %P")},
    };
    for (const Setting& setting : settings) {
        if (!setup.setConfig(setting))
            return ExitProblem;
    }
    if (!setup.addAttributes())
        return ExitProblem;
    if (!setup.changedAnything())
        io.out << (global ? "Nothing to change: git already shows and merges maps with delvard-map "
                            "in every repository of this user.\n"
                          : "Nothing to change: git already shows and merges maps with delvard-map "
                            "in this repository.\n");
    io.out.flush();
    return ExitSuccess;
}

} // namespace

const Command& gitSetupCommand()
{
    static const Command command{
        QStringLiteral("git-setup"),
        {{QStringLiteral("[--global]"),
          QStringLiteral("[--global]"),
          QStringLiteral("makes git diff and merge maps with text and merge"),
          {},
          0,
          0,
          QStringLiteral("expected no file names, got %1")}},
        QStringLiteral(
            "Sets git up to show and merge map files cell by cell: in the git\n"
            "configuration, diff.delvard.textconv (with diff.delvard.cachetextconv) runs\n"
            "delvard-map text, and merge.delvard.name and merge.delvard.driver make\n"
            "delvard-map merge the merge driver, each calling this delvard-map by its\n"
            "absolute path; and the line\n"
            "  *[mM][aA][pP].[kK][lL][dD] -text diff=delvard merge=delvard\n"
            "is added to the gitattributes if it is missing. Prints what it changed;\n"
            "run again, it changes nothing.\n"
            "\n"
            "Without --global: the configuration of the repository the current folder\n"
            "is in, and the .gitattributes at its top, to be committed so that everyone\n"
            "gets it. (A repository cannot make git run programs; each clone runs\n"
            "git-setup once, or each user runs it once with --global.)"),
        {{QStringLiteral("global"),
          {},
          QStringLiteral("the user's git configuration and attributes file\n"
                         "(core.attributesFile if set, else ~/.config/git/attributes)\n"
                         "instead, for every repository")}},
        QStringLiteral("Exit status: 0 when git is set up, 1 when git could not be run or a file\n"
                       "could not be written (what was done is printed), 2 on a usage error."),
        runGitSetup};
    return command;
}

} // namespace delvard
