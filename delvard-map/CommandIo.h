#pragma once

#include <QTextStream>

// Where a command writes: its results to out, messages about files and
// usage to err. Tests hand in streams over strings.
struct CommandIo
{
    QTextStream& out;
    QTextStream& err;
};

// Exit statuses shared by every command.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitProblem = 1, // check found a problem, diff found differences, a map was unreadable
    ExitUsage = 2,   // bad command line; diff: maps that cannot be compared
};
