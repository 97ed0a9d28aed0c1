// Writes what delvard-map's command table says to the shell and the manual:
//   delvard_command_docs bash OUT
//       the bash completion: commands, their options, the values offered
//       after an option, and the kind of file each file name is
//   delvard_command_docs man TEMPLATE OUT
//       the manual page, its SYNOPSIS the forms of every command in place
//       of the template's line ".\" commands"

#include "delvard-map/CommandTable.h"
#include "document/FileReader.h"
#include "document/FileWriter.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"

#include <QRegularExpression>

#include <cstdio>

using namespace delvard;

namespace {

QString quoted(const QString& words)
{
    return u'"' + words + u'"';
}

// The bash lines that complete a command's file names: the kind of each
// name by its place among the names, for the form its options chose.
QString fileCompletion(const Command& command)
{
    QString lines;
    for (const CommandForm& form : command.forms) {
        if (form.most == 0)
            continue;
        QStringList kinds;
        for (const QString& kind : form.files)
            kinds << (kind.isEmpty() ? QStringLiteral("any") : kind);
        lines += QStringLiteral("        \"%1 %2\") kinds=(%3) repeat=%4 ;;\n")
                     .arg(command.name, form.chosenBy, kinds.join(u' '),
                          form.most == AnyNumber ? QStringLiteral("1") : QString());
    }
    return lines;
}

QString bashCompletion()
{
    QStringList names;
    QString optionCases;
    QString valueCases;
    QString valueSkips;
    QString fileCases;
    for (const Command* command : commandTable()) {
        names << command->name;
        QStringList options;
        for (const CommandOption& option : command->options) {
            const QString typed = command->name + QStringLiteral(" --") + option.name;
            options << QStringLiteral("--") + option.name;
            if (option.valueName.isEmpty())
                continue;
            valueSkips += QStringLiteral("            %1) ").arg(quoted(typed));
            bool chooses = false;
            for (const CommandForm& form : command->forms)
                chooses = chooses || form.chosenBy == option.name;
            valueSkips += chooses ? QStringLiteral("chosen=%1; ((i++)) ;;\n").arg(option.name)
                                  : QStringLiteral("((i++)) ;;\n");
            if (option.completion == FolderNames)
                valueCases +=
                    QStringLiteral("        %1) _filedir -d; return ;;\n").arg(quoted(typed));
            else if (!option.completion.isEmpty())
                valueCases +=
                    QStringLiteral(
                        "        %1) COMPREPLY=($(compgen -W %2 -- \"$cur\")); return ;;\n")
                        .arg(quoted(typed), quoted(option.completion));
        }
        options << QStringLiteral("--help");
        optionCases += QStringLiteral("        %1) options=%2 ;;\n")
                           .arg(command->name, quoted(options.join(u' ')));
        fileCases += fileCompletion(*command);
    }
    return QStringLiteral(
               "# bash completion for delvard-map                          -*- shell-script -*-\n"
               "# Made by tools/command_docs from delvard-map's command table.\n"
               "\n"
               "_delvard_map()\n"
               "{\n"
               "    local cur prev words cword\n"
               "    _init_completion || return\n"
               "\n"
               "    if ((cword == 1)); then\n"
               "        COMPREPLY=($(compgen -W \"%1 --help --version\" -- \"$cur\"))\n"
               "        return\n"
               "    fi\n"
               "    local command=${words[1]} options=\"\"\n"
               "    case \"$command $prev\" in\n"
               "%2"
               "    esac\n"
               "    if [[ $cur == -* ]]; then\n"
               "        case $command in\n"
               "%3"
               "        esac\n"
               "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
               "        return\n"
               "    fi\n"
               "    # The file names typed so far, and the option that chose the form.\n"
               "    local i files=0 chosen=\"\"\n"
               "    for ((i = 2; i < cword; i++)); do\n"
               "        case \"$command ${words[i]}\" in\n"
               "%4"
               "            *) [[ ${words[i]} != -* ]] && ((files++)) ;;\n"
               "        esac\n"
               "    done\n"
               "    local kinds=() repeat=\"\"\n"
               "    case \"$command $chosen\" in\n"
               "%5"
               "        *) return ;;\n"
               "    esac\n"
               "    local kind=${kinds[files]-}\n"
               "    [[ -z $kind && $repeat ]] && kind=${kinds[-1]}\n"
               "    case $kind in\n"
               "        '') ;;\n"
               "        any) _filedir ;;\n"
               "        *) _filedir \"$kind\" ;;\n"
               "    esac\n"
               "} &&\n"
               "    complete -F _delvard_map delvard-map\n"
               "\n"
               "# ex: filetype=sh\n")
        .arg(names.join(u' '), valueCases, optionCases, valueSkips, fileCases);
}

// A form as the manual sets it: the words typed as they are in bold, the
// words that stand for something in italics.
QString manForm(const QString& name, const QString& usage)
{
    static const QRegularExpression word(QStringLiteral("[^\\s\\[\\]|]+"));
    QString line = QStringLiteral("\\fBdelvard-map ") + name + QStringLiteral("\\fR ");
    qsizetype at = 0;
    for (auto match = word.globalMatch(usage); match.hasNext();) {
        const auto found = match.next();
        line += usage.mid(at, found.capturedStart() - at);
        QString text = found.captured();
        QString after;
        if (text.endsWith(QLatin1String("..."))) {
            text.chop(3);
            after = QStringLiteral("...");
        }
        const bool typed = text.startsWith(u'-');
        line += (typed ? QStringLiteral("\\fB") : QStringLiteral("\\fI")) + text +
                QStringLiteral("\\fR") + after;
        at = found.capturedEnd();
    }
    line += usage.mid(at);
    return line.replace(u'-', QStringLiteral("\\-"));
}

QString manSynopsis()
{
    QString lines;
    for (const Command* command : commandTable()) {
        for (const CommandForm& form : command->forms)
            lines += manForm(command->name, form.usage) + QStringLiteral("\n.br\n");
    }
    return lines;
}

// Through the file layer, as every file the programs write.
bool write(const QString& path, const QString& text)
{
    const FileWrite written = replaceFile(nativePath(path), text.toStdString());
    if (!written.ok)
        std::fprintf(stderr, "delvard_command_docs: %s: %s\n", qPrintable(displayName(path)),
                     qPrintable(describeProblem(written.problem, GuideFiles)));
    return written.ok;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << decodeNativeName(QByteArray(argv[i]));
    if (args.size() == 2 && args[0] == QLatin1String("bash"))
        return write(args[1], bashCompletion()) ? 0 : 1;
    if (args.size() == 3 && args[0] == QLatin1String("man")) {
        const FileRead read = readWholeFile(nativePath(args[1]), GuideFiles);
        const QString marker = QStringLiteral(".\\\" commands\n");
        QString page = QString::fromStdString(read.bytes);
        if (!read.ok || !page.contains(marker)) {
            std::fprintf(stderr, "delvard_command_docs: %s: %s\n", qPrintable(displayName(args[1])),
                         read.ok ? "no line .\\\" commands"
                                 : qPrintable(describeProblem(read.problem, GuideFiles)));
            return 1;
        }
        return write(args[2], page.replace(marker, manSynopsis())) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: delvard_command_docs bash OUT | man TEMPLATE OUT\n");
    return 2;
}
