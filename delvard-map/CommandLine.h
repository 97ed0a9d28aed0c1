#pragma once

#include "delvard-map/CommandIo.h"

#include <QCommandLineParser>
#include <QStringList>

#include <optional>

namespace delvard {

// One sub-command's command line: its options, parsed with Qt's parser, and
// its help text, written by hand because Qt's generated one names the
// executable but not the sub-command.
class CommandLine
{
  public:
    CommandLine(QString name, QString help);

    void addFlag(const QString& name, const QString& description);
    void addValue(const QString& name, const QString& valueName, const QString& description);

    // Parses args (args[0] is the sub-command's name). Returns the exit
    // status when the command must stop here: 0 after --help, 2 after a usage
    // error (already reported on err); nothing when the command should run.
    std::optional<int> parse(const QStringList& args, CommandIo& io);

    bool isSet(const QString& name) const { return parser_.isSet(name); }
    QString value(const QString& name) const { return parser_.value(name); }
    QStringList positional() const { return parser_.positionalArguments(); }

    // Reports a usage error with a pointer to --help; returns ExitUsage.
    int usageError(CommandIo& io, const QString& message) const;

  private:
    QString name_;
    QString help_;
    QCommandLineParser parser_;
};

} // namespace delvard
