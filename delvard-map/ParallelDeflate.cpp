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

constexpr std::uint32_t AdlerModulus = 65521;
// The most bytes after which every sum still fits in 32 bits (zlib's NMAX),
// in whole steps of 32 bytes: the sums are reduced modulo AdlerModulus
// after each such run.
constexpr std::size_t AdlerRun = 5552 / 32 * 32;

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// The four 64-bit parts of a register added up.
__attribute__((target("avx2"))) std::uint64_t total(const __m256i& parts)
{
    const __m128i halves =
        _mm_add_epi64(_mm256_castsi256_si128(parts), _mm256_extracti128_si256(parts, 1));
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(halves)) +
           static_cast<std::uint64_t>(_mm_extract_epi64(halves, 1));
}

// Adler-32 keeps a, 1 plus the sum of the bytes, and b, the sum of every a
// after each byte. Over a step of 32 bytes x0..x31, a grows by their sum
// and b by 32 times a before the step plus 32 x0 + 31 x1 + ... + 1 x31: a
// sum of the bytes and a weighted one, both in a few vector instructions.
__attribute__((target("avx2"))) std::uint32_t
adler32Avx2(std::uint32_t adler, const unsigned char* bytes, std::size_t size)
{
    std::uint64_t a = adler & 0xFFFF;
    std::uint64_t b = adler >> 16;
    const __m256i weights =
        _mm256_setr_epi8(32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14,
                         13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1);
    const __m256i ones = _mm256_set1_epi16(1);
    const __m256i zero = _mm256_setzero_si256();
    while (size >= 32) {
        const std::size_t steps = std::min(size, AdlerRun) / 32;
        size -= steps * 32;
        __m256i sums = zero;         // of the bytes so far, in four 64-bit parts
        __m256i sumsBefore = zero;   // of `sums` before each step
        __m256i weightedSums = zero; // eight 32-bit parts
        for (std::size_t step = 0; step < steps; ++step, bytes += 32) {
            const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
            sumsBefore = _mm256_add_epi64(sumsBefore, sums);
            sums = _mm256_add_epi64(sums, _mm256_sad_epu8(x, zero));
            weightedSums = _mm256_add_epi32(
                weightedSums, _mm256_madd_epi16(_mm256_maddubs_epi16(x, weights), ones));
        }
        // The weighted sums fit in 32 bits each; widened, they add up as the others do.
        const __m256i weighted =
            _mm256_add_epi64(_mm256_cvtepu32_epi64(_mm256_castsi256_si128(weightedSums)),
                             _mm256_cvtepu32_epi64(_mm256_extracti128_si256(weightedSums, 1)));
        b += a * steps * 32 + 32 * total(sumsBefore) + total(weighted);
        a += total(sums);
        a %= AdlerModulus;
        b %= AdlerModulus;
    }
    for (; size > 0; --size, ++bytes) {
        a += *bytes;
        b += a;
    }
    return static_cast<std::uint32_t>((b % AdlerModulus) << 16 | (a % AdlerModulus));
}
#endif

} // namespace

std::uint32_t adler32Of(std::string_view bytes, std::uint32_t adler)
{
    // zlib's takes no bytes at a null address as a fresh start.
    if (bytes.empty())
        return adler;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        return adler32Avx2(adler, data, bytes.size());
#endif
    return static_cast<std::uint32_t>(adler32_z(adler, data, bytes.size()));
}

namespace {

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
        band.adler = adler32Of(band.data);
    }

  private:
    z_stream stream_{};
    bool ready_ = false;
    std::unique_ptr<Bytef[]> out_;
    std::size_t capacity_ = 0;
};

ParallelDeflate::ParallelDeflate(Output output, unsigned threads, int level)
    : output_(std::move(output)), level_(level), adler_(adler32(0, nullptr, 0)),
      maxInFlight_(std::max(threads, 1u) + 1)
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
        compressor_->compress(*band, Z_FULL_FLUSH);
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
    Band last;
    if (!compressor_)
        compressor_ = std::make_unique<Compressor>(level_);
    compressor_->compress(last, Z_FINISH);
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
