#pragma once

#include <cstdint>
#include <string>
#include <system_error>

// What went wrong with a file, as the file layer found it: a kind, the
// system's own reason where it gave one, and the facts a message needs. The
// layer that talks to the person words it (describeProblem); nothing below
// it builds sentences.
namespace delvard {

struct FileProblem
{
    enum class Kind {
        None,
        NoName,       // no file was chosen
        Missing,      // the name leads to no file
        DanglingLink, // a symbolic link to `detail`, which does not exist
        Unreachable,  // the path cannot be followed (a loop of links, a name too long)
        Folder,
        NamedPipe,
        Device,
        Socket,
        NotRegular,
        TooLarge, // `size` bytes, over the bound of its kind
        CannotOpenForReading,
        CannotRead,
        OutOfMemory,
        ReadOnly,
        CannotOpenForWriting,
        CannotCreate,
        NoNewFileBeside,
        CopyNotWritten,    // the copy written before an in-place write
        NoSafetyCopy,      // no place at all takes that copy
        NewCopyNotWritten, // the new file written beside the old one
        NotWrittenInPlace, // the file itself, written in place
        StreamNotWritten,  // a pipe, a device, standard output
        NewCopyNotInPlace, // the rename over the old file
        FolderNotSynced,   // after the rename
        NotOpen,           // written before it was opened
        FolderNotMade,     // a folder to write into
        FileNotFolder,     // a file where a folder should be
    };

    Kind kind = Kind::None;
    std::error_code os;      // the system's reason, if it gave one
    std::uintmax_t size = 0; // TooLarge: the file's size
    std::string detail;      // DanglingLink: where the link leads

    explicit operator bool() const { return kind != Kind::None; }
    friend bool operator==(const FileProblem&, const FileProblem&) = default;
};

} // namespace delvard
