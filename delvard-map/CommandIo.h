#pragma once

#include <QTextStream>

namespace delvard {

class StandardOutput;

// Where a command writes: its results to out, messages about files and
// usage to err. Tests hand in streams over strings. A picture sent to
// standard output ("-") goes to standardOutput, the device under out; it is
// null where out is no such stream.
struct CommandIo
{
    QTextStream& out;
    QTextStream& err;
    StandardOutput* standardOutput = nullptr;
};

// Exit statuses shared by every command.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitProblem = 1, // check found a problem, diff found differences, a map was unreadable,
                     // an output could not be written
    ExitUsage = 2,   // bad command line; diff: maps that cannot be compared
};

} // namespace delvard
