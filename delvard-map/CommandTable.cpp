#include "delvard-map/CommandTable.h"

namespace delvard {

const std::vector<const Command*>& commandTable()
{
    static const std::vector<const Command*> commands{
        &infoCommand(), &checkCommand(), &renderCommand(),   &diffCommand(),
        &textCommand(), &mergeCommand(), &gitSetupCommand(),
    };
    return commands;
}

QString programHelp()
{
    QString help = QStringLiteral("Usage: delvard-map COMMAND [OPTIONS] ARGS...\n"
                                  "\n"
                                  "Works with the map files (*map.kld) of the Delvard map editor.\n"
                                  "\n"
                                  "Commands:\n");
    // A form too long for its column has its summary on the lines below.
    constexpr qsizetype Column = 26;
    const QString indent(2 + Column, u' ');
    for (const Command* command : commandTable()) {
        for (const CommandForm& form : command->forms) {
            const QString call = (command->name + u' ' + form.listed).trimmed();
            help += QStringLiteral("  ") + call;
            help +=
                call.size() + 2 <= Column ? QString(Column - call.size(), u' ') : u'\n' + indent;
            help += QString(form.summary).replace(u'\n', u'\n' + indent) + u'\n';
        }
    }
    return help + QStringLiteral(
                      "\n"
                      "Options:\n"
                      "  -h, --help                show this help\n"
                      "  --version                 show the version\n"
                      "\n"
                      "'delvard-map COMMAND --help' describes a command and its options.\n"
                      "\n"
                      "Exit status: 0 on success, 1 when a check finds a problem, diff finds\n"
                      "differences, a merge has conflicts, a map cannot be read or an output (a\n"
                      "picture, a map, standard output) cannot be written, 2 on a usage error.\n");
}

} // namespace delvard
