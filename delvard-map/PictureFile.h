#pragma once

#include "document/FileReader.h"
#include "document/FileWriter.h"
#include "document/PlatformFile.h"

#include <QString>

#include <cstddef>
#include <optional>

namespace delvard {

class StandardOutput;

// What render writes. The largest picture it draws, a 255 x 255 map at
// 72 px, is 18,504 pixels square: 1,027,212,552 bytes of rows even if
// nothing compressed, so any picture render wrote can be read back.
inline constexpr delvard::FileKind PictureFiles{
    "PNG picture", 1024 * 1024 * 1024,
    "the largest picture render draws takes less even uncompressed"};

// Why the picture must not go to pictureName when mapName is the map drawn,
// in one sentence for the user, without the name; empty when it may. Render
// refuses to write over the map itself, whatever name leads to it (the same
// one, a hard link, a symbolic link, /dev/stdout sent to it), and over a file
// that holds anything other than a PNG picture: a slip of the arguments must
// not cost a map or a document. An empty file is fair game, being what a
// program that asks for a picture often makes first; so are a new name, a
// pipe and a device.
QString reasonToKeep(const QString& pictureName, const QString& mapName);

// Where render writes its picture, through the file layer every write goes
// through: a regular file (or a new name) is replaced whole or not at all,
// a pipe, a device or a name under /dev or /proc is written into as a
// stream, and "-" is standard output. While the new picture is a temporary
// file beside the old one, an interrupt (Ctrl+C, kill) removes it.
class PictureFile
{
  public:
    // Whether the picture is one of a batch, whose pictures an interrupt
    // counts as it stops the batch. Unfinished pictures are removed either way.
    enum class Interrupts { RemoveUnfinished, RemoveUnfinishedCountFinished };

    // standardOutput serves "-"; without it "-" cannot be written.
    PictureFile(QString name, StandardOutput* standardOutput,
                Interrupts interrupts = Interrupts::RemoveUnfinished);
    ~PictureFile(); // an unfinished picture goes; the old file stays
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    // False, with problem() saying why, when nothing can be written there.
    bool open();
    // False, with problem() saying why, when the bytes could not be written.
    bool write(const char* bytes, std::size_t size);
    // Ends the picture: the new file takes the old one's place.
    bool finish();

    bool isStandardOutput() const { return name_ == QLatin1String("-"); }
    // One or two sentences, ending with a full stop, without the name.
    QString problem() const { return problem_; }

  private:
    bool fail(const QString& why);
    bool fail(const delvard::FileProblem& problem);

    QString name_;
    StandardOutput* standardOutput_;
    Interrupts interrupts_;
    std::optional<delvard::FileOutput> file_;
    delvard::platform::interrupts::RemovedFile removedFile_;
    QString problem_;
};

} // namespace delvard
