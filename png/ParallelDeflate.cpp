#include "png/ParallelDeflate.h"

#include <isa-l/igzip_lib.h>
#include <zlib.h>

#include <algorithm>

namespace delvard {

struct ParallelDeflate::Band
{
    std::string data;
    std::string stream;      // raw deflate, ending on a byte boundary
    unsigned long adler = 1; // of no bytes
    bool done = false;
    QString problem; // why it could not be compressed
};

namespace {

QString notEnoughMemory()
{
    return QStringLiteral("there is not enough memory to compress the picture");
}

} // namespace

// Raw deflate, one band at a time, each band on its own, ending on a byte
// boundary; the level's working memory and the output buffer serve every
// band a thread compresses.
class ParallelDeflate::Compressor
{
  public:
    void compress(Band& band)
    {
        const auto size = static_cast<std::uint32_t>(band.data.size());
        // Data that does not compress is kept in stored blocks of at most
        // 64 KiB, each with a 5-byte header.
        const std::size_t bound = size + 5 * (size / 65535 + 1) + ISAL_DEF_MAX_HDR_SIZE + 8;
        if (bound > capacity_) {
            out_ = std::make_unique_for_overwrite<std::uint8_t[]>(bound);
            capacity_ = bound;
        }
        isal_zstream stream;
        isal_deflate_stateless_init(&stream);
        stream.level = 1;
        stream.level_buf = level_.get();
        stream.level_buf_size = ISAL_DEF_LVL1_DEFAULT;
        stream.flush = FULL_FLUSH;
        stream.next_in = reinterpret_cast<std::uint8_t*>(band.data.data());
        stream.avail_in = size;
        stream.next_out = out_.get();
        stream.avail_out = static_cast<std::uint32_t>(capacity_);
        if (isal_deflate_stateless(&stream) != COMP_OK || stream.avail_in != 0) {
            band.problem = QStringLiteral("the picture could not be compressed");
            return;
        }
        band.stream.assign(reinterpret_cast<const char*>(out_.get()), stream.total_out);
        band.adler = isal_adler32(1, reinterpret_cast<const std::uint8_t*>(band.data.data()), size);
    }

  private:
    std::unique_ptr<std::uint8_t[]> level_ =
        std::make_unique_for_overwrite<std::uint8_t[]>(ISAL_DEF_LVL1_DEFAULT);
    std::unique_ptr<std::uint8_t[]> out_;
    std::size_t capacity_ = 0;
};

ParallelDeflate::ParallelDeflate(Output output, unsigned threads)
    : output_(std::move(output)), adler_(adler32(0, nullptr, 0)),
      maxInFlight_(std::max(threads, 1u) + 1)
{
    if (threads > 1) {
        for (unsigned t = 0; t < threads; ++t)
            workers_.emplace_back([this] { work(); });
    } else {
        compressor_ = std::make_unique<Compressor>();
    }
}

ParallelDeflate::~ParallelDeflate()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    workAvailable_.notify_all();
    workers_.clear(); // joins
}

std::string ParallelDeflate::spareBuffer()
{
    const std::lock_guard lock(mutex_);
    if (spares_.empty())
        return {};
    std::string spare = std::move(spares_.back());
    spares_.pop_back();
    return spare;
}

void ParallelDeflate::work()
{
    Compressor compressor;
    std::unique_lock lock(mutex_);
    for (;;) {
        workAvailable_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (stopping_)
            return;
        Band* band = waiting_.front();
        waiting_.pop_front();
        lock.unlock();
        try {
            compressor.compress(*band);
        } catch (const std::bad_alloc&) {
            band->problem = notEnoughMemory();
        }
        lock.lock();
        band->done = true;
        bandDone_.notify_all();
    }
}

bool ParallelDeflate::handOn(Band& band)
{
    if (!band.problem.isEmpty()) {
        problem_ = band.problem;
        failed_ = true;
        return false;
    }
    if (!started_) {
        started_ = true;
        // 0x78 0x01: deflate with a 32 KiB window, compressed fastest.
        if (!output_(std::string_view("\x78\x01", 2))) {
            failed_ = true;
            return false;
        }
    }
    adler_ = adler32_combine(adler_, band.adler, static_cast<z_off_t>(band.data.size()));
    if (!band.stream.empty() && !output_(band.stream)) {
        failed_ = true;
        return false;
    }
    return true;
}

std::unique_ptr<ParallelDeflate::Band> ParallelDeflate::newBand(std::string data)
{
    std::unique_ptr<Band> band;
    if (spareBands_.empty()) {
        band = std::make_unique<Band>();
    } else {
        band = std::move(spareBands_.back());
        spareBands_.pop_back();
    }
    band->data = std::move(data);
    return band;
}

// A band handed on leaves its buffers to the next ones: memory used once
// already costs no page fault, and a band's stream then needs no allocation.
void ParallelDeflate::recycle(std::unique_ptr<Band> band)
{
    {
        const std::lock_guard lock(mutex_);
        if (spares_.size() < maxInFlight_)
            spares_.push_back(std::move(band->data));
    }
    band->data.clear();
    band->stream.clear();
    band->done = false;
    if (spareBands_.size() < maxInFlight_)
        spareBands_.push_back(std::move(band));
}

// Hands on the bands at the front that are done; with `wait`, waits for
// the front one first.
bool ParallelDeflate::handOnReady(bool wait)
{
    for (;;) {
        std::unique_ptr<Band> band;
        {
            std::unique_lock lock(mutex_);
            if (inOrder_.empty())
                return true;
            if (wait)
                bandDone_.wait(lock, [this] { return inOrder_.front()->done; });
            if (!inOrder_.front()->done)
                return true;
            band = std::move(inOrder_.front());
            inOrder_.pop_front();
        }
        if (!handOn(*band))
            return false;
        recycle(std::move(band));
        wait = false;
    }
}

bool ParallelDeflate::add(std::string data)
{
    if (failed_)
        return false;
    std::unique_ptr<Band> band = newBand(std::move(data));
    if (compressor_) {
        compressor_->compress(*band);
        if (!handOn(*band))
            return false;
        recycle(std::move(band));
        return true;
    }
    bool full = false;
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(band.get());
        inOrder_.push_back(std::move(band));
        // A band for each thread and one waiting, so that a thread that
        // is done finds the next one ready. Each band more would be a
        // mebibyte of memory touched for the first time: a page fault every
        // 4 KiB, which cost more than the band's wait saved.
        full = inOrder_.size() >= maxInFlight_;
    }
    workAvailable_.notify_one();
    return handOnReady(full);
}

bool ParallelDeflate::finish()
{
    for (;;) {
        {
            const std::lock_guard lock(mutex_);
            if (inOrder_.empty() || failed_)
                break;
        }
        if (!handOnReady(true))
            return false;
    }
    if (failed_)
        return false;
    // The stream ends with an empty final block: fixed codes, nothing but
    // the end-of-block code.
    Band last;
    last.stream.assign("\x03\x00", 2);
    if (!handOn(last))
        return false;
    const char trailer[4] = {
        static_cast<char>((adler_ >> 24) & 0xFF), static_cast<char>((adler_ >> 16) & 0xFF),
        static_cast<char>((adler_ >> 8) & 0xFF), static_cast<char>(adler_ & 0xFF)};
    if (!output_(std::string_view(trailer, 4))) {
        failed_ = true;
        return false;
    }
    return true;
}

} // namespace delvard
