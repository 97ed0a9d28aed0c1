#include "delvard-map/CommandLine.h"

#include "document/NativeFileName.h"

#include <algorithm>
#include <utility>
#include <vector>

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

CommandLine::CommandLine(const Command& command) : command_(command)
{
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    for (const CommandOption& option : command.options)
        parser_.addOption(QCommandLineOption(option.name, option.description, option.valueName));
}

const CommandForm& CommandLine::form() const
{
    for (const CommandForm& form : command_.forms) {
        if (!form.chosenBy.isEmpty() && parser_.isSet(form.chosenBy))
            return form;
    }
    for (const CommandForm& form : command_.forms) {
        if (form.chosenBy.isEmpty())
            return form;
    }
    return command_.forms.front();
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
        io.out << commandHelp(command_);
        io.out.flush();
        return ExitSuccess;
    }
    const CommandForm& chosen = form();
    const auto count = files().size();
    if (count < chosen.fewest || count > chosen.most)
        return usageError(io, chosen.wrongCount.contains(QLatin1String("%1"))
                                  ? chosen.wrongCount.arg(count)
                                  : chosen.wrongCount);
    return std::nullopt;
}

int CommandLine::usageError(CommandIo& io, const QString& message) const
{
    io.err << "delvard-map " << command_.name << ": " << message << '\n'
           << "Try 'delvard-map " << command_.name << " --help' for more information.\n";
    return ExitUsage;
}

QString commandHelp(const Command& command)
{
    QString help;
    const QString program = QStringLiteral("delvard-map ") + command.name + u' ';
    for (const CommandForm& form : command.forms) {
        help += (help.isEmpty() ? QStringLiteral("Usage: ") : QStringLiteral("       ")) + program +
                form.usage + u'\n';
    }
    help += u'\n' + command.description + QStringLiteral("\n\nOptions:\n");

    // The descriptions begin in one column, two spaces after the longest option.
    std::vector<std::pair<QString, QString>> options;
    for (const CommandOption& option : command.options) {
        QString label = QStringLiteral("--") + option.name;
        if (!option.valueName.isEmpty())
            label += u' ' + option.valueName;
        options.emplace_back(label, option.description);
    }
    options.emplace_back(QStringLiteral("-h, --help"), QStringLiteral("show this help"));
    qsizetype width = 0;
    for (const auto& option : options)
        width = std::max(width, option.first.size() + 2);
    for (const auto& [label, description] : options) {
        QString start = label.leftJustified(width);
        for (const QString& line : description.split(u'\n')) {
            help += QStringLiteral("  ") + start + line + u'\n';
            start = QString(width, u' ');
        }
    }
    return help + u'\n' + command.exitStatus + u'\n';
}

} // namespace delvard
