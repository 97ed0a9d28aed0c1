#include "delvard-map/CommandLine.h"

#include "document/NativeFileName.h"

namespace delvard {

namespace {

// The argument that gave the parser an unknown option, as it was typed: the
// parser names the option without its dashes, which turns a file named
// "-dashMap.kld" into "dashMap.kld".
QString typedOption(const QStringList& args, const QString& unknown)
{
    for (const QString& arg : args.mid(1)) {
        if (arg == QLatin1String("--"))
            break;
        const qsizetype dashes = arg.startsWith(QLatin1String("--")) ? 2 : 1;
        if (arg.size() > 1 && arg.startsWith(u'-') &&
            arg.mid(dashes).section(u'=', 0, 0) == unknown)
            return arg;
    }
    return QStringLiteral("--") + unknown;
}

} // namespace

CommandLine::CommandLine(QString name, QString help)
    : name_(std::move(name)), help_(std::move(help))
{
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
}

void CommandLine::addFlag(const QString& name, const QString& description)
{
    parser_.addOption(QCommandLineOption(name, description));
}

void CommandLine::addValue(const QString& name, const QString& valueName,
                           const QString& description)
{
    parser_.addOption(QCommandLineOption(name, description, valueName));
}

std::optional<int> CommandLine::parse(const QStringList& args, CommandIo& io)
{
    if (!parser_.parse(args)) {
        // What was not understood is an argument, which may hold a line
        // break or a terminal's escape like any name.
        const QStringList unknown = parser_.unknownOptionNames();
        if (unknown.isEmpty())
            return usageError(io, delvard::displayName(parser_.errorText()));
        const QString typed = typedOption(args, unknown.front());
        QString message = QStringLiteral("Unknown option '%1'.").arg(delvard::displayName(typed));
        if (!typed.startsWith(QLatin1String("--")))
            message += QStringLiteral(" A file whose name starts with '-' goes after '--'.");
        return usageError(io, message);
    }
    if (parser_.isSet(QStringLiteral("help"))) {
        io.out << help_;
        io.out.flush();
        return ExitSuccess;
    }
    return std::nullopt;
}

int CommandLine::usageError(CommandIo& io, const QString& message) const
{
    io.err << "delvard-map " << name_ << ": " << message << '\n'
           << "Try 'delvard-map " << name_ << " --help' for more information.\n";
    return ExitUsage;
}

} // namespace delvard
