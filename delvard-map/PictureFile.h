#pragma once

#include <QString>

#include <filesystem>
#include <fstream>

// Where `render` writes its picture. A regular file (or a new name) is
// replaced whole or not at all: the picture goes into a new file beside it,
// which takes the old one's place only once it is complete. A named pipe, a
// device, a name under /dev or /proc (such as /dev/stdout) and "-" (standard
// output) are written into as a stream and never replaced. A symbolic link
// stays a link; its target gets the picture. A folder is refused.
class PictureFile
{
  public:
    explicit PictureFile(QString name);
    ~PictureFile(); // removes a new file that never took its place
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    // False, with problem() saying why, when nothing can be written there.
    bool open();
    // False, with problem() saying why, when the bytes could not be written.
    bool write(const char* bytes, std::size_t size);
    // Ends the picture: a stream is flushed, a new file takes the old one's place.
    bool finish();

    QString problem() const { return problem_; }

  private:
    bool fail(const QString& what, int error);

    QString name_;
    std::filesystem::path target_; // the file replaced, links resolved
    std::filesystem::path newFile_;
    std::ofstream file_;
    std::ostream* out_ = nullptr;
    bool replaces_ = false;
    bool finished_ = false;
    QString problem_;
};
