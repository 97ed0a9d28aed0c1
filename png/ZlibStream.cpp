#include "png/ZlibStream.h"

#include <isa-l/igzip_lib.h>

namespace delvard {

namespace {

// The stream goes out in pieces of this size, the last one shorter.
constexpr std::uint32_t OutBytes = 1 << 18;

} // namespace

ZlibStream::ZlibStream(Output output)
    : output_(std::move(output)), stream_(std::make_unique<isal_zstream>()),
      level_(std::make_unique_for_overwrite<std::uint8_t[]>(ISAL_DEF_LVL1_DEFAULT)),
      out_(std::make_unique_for_overwrite<std::uint8_t[]>(OutBytes))
{
    isal_deflate_init(stream_.get());
    stream_->level = 1;
    stream_->level_buf = level_.get();
    stream_->level_buf_size = ISAL_DEF_LVL1_DEFAULT;
    stream_->gzip_flag = IGZIP_ZLIB;
    stream_->next_out = out_.get();
    stream_->avail_out = OutBytes;
}

ZlibStream::~ZlibStream() = default;

bool ZlibStream::handOnOutput()
{
    const std::size_t made = OutBytes - stream_->avail_out;
    stream_->next_out = out_.get();
    stream_->avail_out = OutBytes;
    if (made != 0 && !output_(std::string_view(reinterpret_cast<const char*>(out_.get()), made))) {
        failed_ = true;
        return false;
    }
    return true;
}

bool ZlibStream::deflate(std::string_view data, bool last)
{
    if (failed_)
        return false;
    stream_->next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(data.data()));
    stream_->avail_in = static_cast<std::uint32_t>(data.size());
    stream_->end_of_stream = last ? 1 : 0;
    for (;;) {
        if (isal_deflate(stream_.get()) != COMP_OK) {
            problem_ = QStringLiteral("the picture could not be compressed");
            failed_ = true;
            return false;
        }
        const bool ended = stream_->internal_state.state == ZSTATE_END;
        // The output goes on in full pieces, the last one when the stream ends.
        if (stream_->avail_out == 0 || ended) {
            if (!handOnOutput())
                return false;
        }
        if (ended || (!last && stream_->avail_in == 0))
            return true;
    }
}

bool ZlibStream::add(std::string_view data)
{
    return deflate(data, false);
}

bool ZlibStream::finish()
{
    return deflate({}, true);
}

} // namespace delvard
