#include "ParallelDeflate.h"

#include <zlib.h>

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace delvard {

struct ParallelDeflate::Band
{
    std::string data;
    std::string stream; // raw deflate, ending on a byte boundary
    unsigned long adler = 0;
    bool done = false;
    std::string problem; // why it could not be compressed
};

namespace {

// Debian's zlib is built for any x86-64 processor, so it slides its window
// with SSE instructions in their old encoding. After Qt's drawing code has
// used the wider AVX registers, those instructions are slowed by the upper
// halves left behind (compressing a picture took four times as long), and a
// thread starts with the registers of the thread that made it. Clearing the
// upper halves before each band costs one instruction.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("avx"))) void zeroUpperHalves()
{
    _mm256_zeroupper();
}
void clearUpperVectorHalves()
{
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        zeroUpperHalves();
}
#else
void clearUpperVectorHalves() {}
#endif

constexpr int WindowBits = 15;
constexpr int MemoryLevel = 8;
const std::string NotEnoughMemory = "there is not enough memory to compress the picture";

} // namespace

// Raw deflate, one band at a time, with a stream and an output buffer that
// serve every band a thread compresses: setting up a stream and touching a
// fresh megabyte for each band cost as much as compressing it.
class ParallelDeflate::Compressor
{
  public:
    explicit Compressor(int level)
    {
        // A negative window: raw deflate, without the zlib header and
        // trailer, which the joined stream has once.
        ready_ = deflateInit2(&stream_, level, Z_DEFLATED, -WindowBits, MemoryLevel,
                              Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Compressor()
    {
        if (ready_)
            deflateEnd(&stream_);
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    // `flush`: Z_FULL_FLUSH for a band, Z_FINISH for the empty block that
    // ends the stream.
    void compress(Band& band, int flush)
    {
        if (!ready_ || deflateReset(&stream_) != Z_OK) {
            band.problem = NotEnoughMemory;
            return;
        }
        // deflateBound leaves room for the flush marker's few bytes too.
        const std::size_t bound = deflateBound(&stream_, static_cast<uLong>(band.data.size())) + 16;
        if (bound > capacity_) {
            out_ = std::make_unique_for_overwrite<Bytef[]>(bound);
            capacity_ = bound;
        }
        clearUpperVectorHalves();
        stream_.next_in = reinterpret_cast<Bytef*>(band.data.data());
        stream_.avail_in = static_cast<uInt>(band.data.size());
        stream_.next_out = out_.get();
        stream_.avail_out = static_cast<uInt>(capacity_);
        const int result = deflate(&stream_, flush);
        if (stream_.avail_in != 0 || stream_.avail_out == 0 ||
            result != (flush == Z_FINISH ? Z_STREAM_END : Z_OK)) {
            band.problem = "the picture could not be compressed";
            return;
        }
        band.stream.assign(reinterpret_cast<const char*>(out_.get()), stream_.total_out);
        band.adler = adler32_z(adler32(0, nullptr, 0),
                               reinterpret_cast<const Bytef*>(band.data.data()), band.data.size());
    }

  private:
    z_stream stream_{};
    bool ready_ = false;
    std::unique_ptr<Bytef[]> out_;
    std::size_t capacity_ = 0;
};

ParallelDeflate::ParallelDeflate(Output output, unsigned threads, int level)
    : output_(std::move(output)), level_(level), adler_(adler32(0, nullptr, 0)),
      maxInFlight_(2 * std::max(threads, 1u))
{
    if (threads > 1) {
        for (unsigned t = 0; t < threads; ++t)
            workers_.emplace_back([this] { work(); });
    } else {
        compressor_ = std::make_unique<Compressor>(level_);
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
    Compressor compressor(level_);
    std::unique_lock lock(mutex_);
    for (;;) {
        workAvailable_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (stopping_)
            return;
        Band* band = waiting_.front();
        waiting_.pop_front();
        lock.unlock();
        try {
            compressor.compress(*band, Z_FULL_FLUSH);
        } catch (const std::bad_alloc&) {
            band->problem = NotEnoughMemory;
        }
        lock.lock();
        band->done = true;
        bandDone_.notify_all();
    }
}

bool ParallelDeflate::handOn(Band& band)
{
    if (!band.problem.empty()) {
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
    const std::lock_guard lock(mutex_);
    if (spares_.size() < maxInFlight_)
        spares_.push_back(std::move(band.data));
    return true;
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
        wait = false;
    }
}

bool ParallelDeflate::add(std::string data)
{
    if (failed_)
        return false;
    auto band = std::make_unique<Band>();
    band->data = std::move(data);
    if (compressor_) {
        compressor_->compress(*band, Z_FULL_FLUSH);
        return handOn(*band);
    }
    bool full = false;
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(band.get());
        inOrder_.push_back(std::move(band));
        // Bands wait in memory only while every thread is busy.
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
    Band last;
    Compressor(level_).compress(last, Z_FINISH);
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
