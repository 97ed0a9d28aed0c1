#include "CommandLine.h"

#include "NativeFileName.h"

namespace delvard {

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
    if (!parser_.parse(args))
        // The parser quotes what it did not understand: an argument, which
        // may hold a line break or a terminal's escape like any name.
        return usageError(io, delvard::displayName(parser_.errorText()));
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
    io.err.flush();
    return ExitUsage;
}

} // namespace delvard
