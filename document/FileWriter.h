#pragma once

#include "document/FileReader.h"

#include "document/PlatformFile.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

// Writes files without ever leaving half of one behind: every file either
// program writes goes through here.
//
// A regular file (or a new name) gets its new content in a temporary file
// beside it, which is synced and renamed over it; the folder is synced
// after the rename, so the new name survives a power cut. Where a rename
// would change what the file is (it has other hard links, the new file
// would not belong to the file's owner, or the folder takes no new file),
// the file is written in place instead, after a whole copy of it has been
// written beside it (or, where the folder takes no new file, in the user's
// state folder) and synced; a write that finds no place for a copy is
// refused unless the caller allows it. Every finished write removes the
// file's copies. A symbolic link stays a link and its target gets the bytes. Pipes
// and devices are written into as streams, where the caller allows it.
//
// Temporary names never grow with the target's name, so a file whose name
// is as long as the system allows can still be saved. A process killed at
// any moment leaves the target holding its old bytes or its new bytes whole,
// or (in place) the copy beside it holding the old bytes whole; a temporary
// file left behind is removed by the next write in that folder.
namespace delvard {

namespace fs = std::filesystem;

// ".delvard-0123456789ab.new": a temporary file of a write that did not finish.
bool isTemporaryName(const fs::path& fileName);
// How long a temporary file must have been left untouched before it counts
// as left behind: a live writer touches its file every few milliseconds.
inline constexpr auto LeftoverAge = std::chrono::seconds(60);
// Removes the temporary files that writes which never finished left in folder.
void removeLeftoverTemporaries(const fs::path& folder);

// ".delvard-<16 hex digits of the name>.copy": where the old bytes of the
// file are kept beside it while it is written in place.
fs::path inPlaceCopyOf(const fs::path& target);
// Where they are kept when the file's folder takes no new file: the user's
// state folder, "delvard/copies/<16 hex digits of the whole path>.copy".
// Empty where the system names no such folder.
fs::path stateCopyOf(const fs::path& target);
// Both places, for a target with its links resolved: where Open looks for
// a copy that a stopped save left, and what a finished save removes.
std::array<fs::path, 2> safetyCopiesOf(const fs::path& target);

class FileOutput
{
  public:
    enum class Method { None, Stream, Rename, InPlace };
    enum class Streams { Refused, Allowed };
    // Whether a file written in place may go without a safety copy when
    // none can be written anywhere (the user agreed to the risk).
    enum class SafetyCopy { Required, Optional };

    explicit FileOutput(fs::path target, Streams streams = Streams::Refused,
                        SafetyCopy safetyCopy = SafetyCopy::Required);
    ~FileOutput(); // unless committed: the temporary file goes, an in-place write is undone
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    // Each returns false, with problem() saying why, and the target as it was.
    bool open();
    bool write(std::string_view bytes);
    bool commit();

    Method method() const { return method_; }
    // The file that gets the bytes: the target with its links resolved.
    const fs::path& resolvedTarget() const { return target_; }
    // The temporary file, while there is one.
    const fs::path& temporaryFile() const { return temporary_; }
    const FileProblem& problem() const { return problem_; }
    // After a failed in-place write that could not be undone: where the old
    // bytes are kept. Empty otherwise.
    const fs::path& keptCopy() const { return keptCopy_; }

  private:
    bool fail(FileProblem::Kind kind, const std::error_code& error);
    bool openStream();
    bool openForRename();
    bool openInPlace();
    std::error_code writeSafetyCopy(const fs::path& copy);
    bool commitRename();
    bool commitInPlace();
    bool putOldBytesBack();
    void abandon();

    fs::path given_;
    Streams streams_;
    SafetyCopy safetyCopy_;
    Method method_ = Method::None;
    fs::path target_;
    fs::path temporary_;
    fs::path copy_;
    fs::path keptCopy_;
    platform::WritableFile file_;
    std::uintmax_t written_ = 0;
    bool touchedTarget_ = false;
    bool committed_ = false;
    FileProblem problem_;
};

struct FileWrite
{
    bool ok = false;
    FileProblem problem;
    fs::path keptCopy; // see FileOutput::keptCopy()
};

// Makes sure a regular file that can be written is at path: a missing one
// is created empty, an existing one is left exactly as it is.
struct FileAtHand
{
    bool ok = false;
    bool empty = false;
    FileProblem problem;
};
FileAtHand makeSureFileExists(const fs::path& path);

// Gives the file at target exactly bytes as its content.
FileWrite replaceFile(const fs::path& target, std::string_view bytes,
                      FileOutput::SafetyCopy safetyCopy = FileOutput::SafetyCopy::Required);

} // namespace delvard
