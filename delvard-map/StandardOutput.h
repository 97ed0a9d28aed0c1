#pragma once

#include <QIODevice>

#include <system_error>

namespace delvard {

// Standard output as every command writes to it, text and pictures alike.
// The C library's buffer is switched off, so a write that fails (a full
// disk, /dev/full) fails at once with the system's reason, which is kept:
// the program names the first failure when it ends rather than exiting 0
// with its output lost.
class StandardOutput final : public QIODevice
{
  public:
    StandardOutput();

    // Ends the output: standard output is closed, so that an error the
    // system reports only then is not lost. False when any write failed.
    bool finish();

    const std::error_code& error() const { return error_; }
    // The reader went away (a pipe into `head`): it asked for no more, so
    // that is not worth a message.
    bool readerLeft() const { return error_ == std::errc::broken_pipe; }

    // Windows starts standard output in text mode, which would turn every
    // byte 10 of a picture into 13 10; elsewhere there is nothing to do.
    void switchToBinary();

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

  private:
    void keepError(int error);

    std::error_code error_;
    bool finished_ = false;
};

} // namespace delvard
