#include "delvard-map/BatchRender.h"

#include "document/Folders.h"

#include "delvard-map/RenderJob.h"
#include "document/NativeFileName.h"
#include "document/PlatformFile.h"
#include "document/ProblemWords.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace delvard {

namespace {

bool standardErrorIsTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) == 1;
#endif
}

// Maps that would overwrite each other's picture, one sentence each.
// Names that differ only in case count too: on many disks they are one file.
QStringList clashes(const QStringList& maps, const QStringList& pictures, const QString& folder)
{
    QHash<QString, qsizetype> first;
    QStringList found;
    for (qsizetype k = 0; k < maps.size(); ++k) {
        const QString key = pictures[k].toCaseFolded();
        const auto seen = first.constFind(key);
        if (seen == first.cend()) {
            first.insert(key, k);
            continue;
        }
        found << QStringLiteral("%1 and %2 would both be drawn to %3.")
                     .arg(displayName(maps[*seen]), displayName(maps[k]),
                          displayName(QDir(folder).filePath(pictures[k])));
    }
    return found;
}

// The outcomes of the maps drawn side by side, taken in the order given.
class Outcomes
{
  public:
    explicit Outcomes(std::size_t count) : outcomes_(count) {}

    void put(std::size_t k, Outcome outcome)
    {
        {
            const std::lock_guard lock(mutex_);
            outcomes_[k] = std::move(outcome);
        }
        ready_.notify_all();
    }
    Outcome take(std::size_t k)
    {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return outcomes_[k].has_value(); });
        return *std::exchange(outcomes_[k], std::nullopt);
    }

  private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<std::optional<Outcome>> outcomes_;
};

} // namespace

QString pictureNameFor(const QString& mapPath)
{
    QString name = QFileInfo(mapPath).fileName();
    if (name.endsWith(QLatin1String(".kld"), Qt::CaseInsensitive))
        name.chop(4);
    return name + QStringLiteral(".png");
}

int renderBatch(const QStringList& maps, const QString& folder, const PictureOptions& options,
                const PictureList& pictures, CommandIo& io)
{
    QStringList names;
    for (const QString& map : maps)
        names << pictureNameFor(map);
    if (const QStringList found = clashes(maps, names, folder); !found.isEmpty()) {
        for (const QString& clash : found)
            io.err << "delvard-map render: " << clash << '\n';
        io.err << "delvard-map render: nothing was drawn; give those maps folders of their own.\n";
        return ExitUsage;
    }
    if (const FileProblem made = makeFolders(nativePath(folder))) {
        io.err << "delvard-map render: " << displayName(folder) << ": "
               << describeProblem(made, MapFiles) << '\n';
        return ExitProblem;
    }

    const std::size_t count = static_cast<std::size_t>(maps.size());
    const bool terminal = standardErrorIsTerminal();
    // On a terminal the progress line is written over; "\x1b[K" clears
    // what a longer name left of it.
    const char* const lineStart = terminal ? "\r\x1b[K" : "";
    // An interrupt removes the pictures being written, keeps the finished
    // ones and says how many there are.
    platform::interrupts::reportProgress(
        std::string(lineStart) + "delvard-map render: interrupted; ", count, " pictures written");
    Outcomes outcomes(count);
    std::atomic<std::size_t> next{0};
    // Every core draws maps of its own.
    PictureOptions oneThreadEach = options;
    oneThreadEach.decodeAhead = false;
    const auto work = [&] {
        // Interrupts go to the thread that writes the outcomes: stopped in
        // the handler, it writes nothing after the handler's line.
        platform::interrupts::leaveToOtherThreads();
        PictureMaker maker(pictures, oneThreadEach);
        for (std::size_t k = next++; k < count; k = next++) {
            const auto index = static_cast<qsizetype>(k);
            Outcome outcome;
            try {
                outcome = renderMapToFile(maker, maps[index], QDir(folder).filePath(names[index]),
                                          nullptr,
                                          PictureFile::Interrupts::RemoveUnfinishedCountFinished);
            } catch (const std::bad_alloc&) {
                outcome =
                    Outcome::failed(displayName(maps[index]) +
                                    QStringLiteral(": There is not enough memory to draw it."));
            } catch (const std::exception& exception) {
                outcome = Outcome::failed(displayName(maps[index]) + QStringLiteral(": ") +
                                          QString::fromLocal8Bit(exception.what()));
            }
            outcomes.put(k, std::move(outcome));
        }
    };
    // No more pictures at once than an interrupt can remove.
    const std::size_t threads =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1,
                                std::min<std::size_t>(count, platform::interrupts::MostFiles));
    std::vector<std::jthread> workers;
    for (std::size_t t = 0; t < threads; ++t)
        workers.emplace_back(work);

    int failed = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const Outcome outcome = outcomes.take(k);
        if (!outcome.ok) {
            ++failed;
            io.err << lineStart << "delvard-map render: " << outcome.problem << '\n';
        }
        if (terminal)
            io.err << lineStart << '[' << k + 1 << '/' << count << "] "
                   << displayName(QFileInfo(maps[static_cast<qsizetype>(k)]).fileName());
        io.err.flush();
    }
    if (terminal) {
        io.err << '\n';
        io.err.flush();
    }
    return failed == 0 ? ExitSuccess : ExitProblem;
}

} // namespace delvard
