#pragma once

#include <QString>

#include <utility>

namespace delvard {

// What an operation that can fail gives back when it has nothing else to
// give: whether it worked and, when not, why, in words for people. The same
// two names serve everywhere: a result with more to carry (FileRead,
// FileWrite) has `ok` and `problem` too, and an object that fails step by
// step (PngWriter, PictureFile, MapFile, GitRun) answers true or false and
// says why in problem().
struct Outcome
{
    bool ok = true;
    QString problem;

    static Outcome failed(QString why) { return {false, std::move(why)}; }
};

} // namespace delvard
