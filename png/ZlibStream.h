#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <string_view>

struct isal_zstream;

namespace delvard {

// One zlib stream, deflated as the data comes by Intel's ISA-L at level 1
// (level 0 is no faster on map pictures and packs them less tightly), and
// handed on as it is made. The bytes depend on the data and on how it was
// cut into add() calls, nothing else.
class ZlibStream
{
  public:
    // Takes the stream in order; returns false when the bytes could not be
    // written, and then nothing more is compressed.
    using Output = std::function<bool(std::string_view bytes)>;

    explicit ZlibStream(Output output);
    ~ZlibStream();
    ZlibStream(const ZlibStream&) = delete;
    ZlibStream& operator=(const ZlibStream&) = delete;

    // False once anything failed; problem() says why unless the output did.
    bool add(std::string_view data);
    // Ends the stream. False when anything failed.
    bool finish();
    QString problem() const { return problem_; }

  private:
    bool deflate(std::string_view data, bool last);
    bool handOnOutput();

    Output output_;
    QString problem_;
    bool failed_ = false;
    std::unique_ptr<isal_zstream> stream_;
    std::unique_ptr<std::uint8_t[]> level_; // the level's working memory
    std::unique_ptr<std::uint8_t[]> out_;
};

} // namespace delvard
