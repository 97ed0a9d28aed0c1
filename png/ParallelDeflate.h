#pragma once

#include <QString>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace delvard {

// One zlib stream, compressed on several threads at once, as pigz makes
// it: the data comes in bands, each band is deflated on its own (no
// reference reaches back into the band before it) and ends with a full
// flush, which leaves it on a byte boundary; the bands are joined in order,
// an empty final block ends the stream, and the Adler-32 of the whole is
// combined from the bands'. The bytes depend on where the bands begin and
// end, never on how many threads compressed them, so the caller chooses
// band boundaries that do not depend on the machine.
class ParallelDeflate
{
  public:
    // Takes the stream in order, always on the thread that calls add() and
    // finish(); returns false when the bytes could not be written, and then
    // nothing more is compressed.
    using Output = std::function<bool(std::string_view bytes)>;

    // threads: how many bands are compressed at once; 1 compresses each band
    // as it comes, on the caller's thread.
    ParallelDeflate(Output output, unsigned threads);
    ~ParallelDeflate();
    ParallelDeflate(const ParallelDeflate&) = delete;
    ParallelDeflate& operator=(const ParallelDeflate&) = delete;

    // False once anything failed; problem() says why unless the output did.
    bool add(std::string band);
    // A buffer that an earlier band no longer needs, to fill with the next
    // one without touching fresh memory; empty when there is none.
    std::string spareBuffer();
    // Ends the stream. False when anything failed.
    bool finish();
    QString problem() const { return problem_; }

    struct Band; // one band's data and, once compressed, its stream

  private:
    class Compressor;

    void work();
    bool handOnReady(bool wait);
    bool handOn(Band& band);
    std::unique_ptr<Band> newBand(std::string data);
    void recycle(std::unique_ptr<Band> band);

    Output output_;
    QString problem_;
    bool failed_ = false;
    bool started_ = false;
    unsigned long adler_;
    std::size_t maxInFlight_;
    std::unique_ptr<Compressor> compressor_; // with one thread: the caller's

    std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable bandDone_;
    std::deque<std::unique_ptr<Band>> inOrder_; // every band not yet handed on, in order
    std::deque<Band*> waiting_;                 // bands no thread has taken yet
    std::vector<std::string> spares_;
    std::vector<std::unique_ptr<Band>> spareBands_; // only ever touched by the caller's thread
    bool stopping_ = false;
    std::vector<std::jthread> workers_;
};

} // namespace delvard
