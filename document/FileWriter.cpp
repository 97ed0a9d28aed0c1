#include "document/FileWriter.h"

#include "document/Folders.h"

#include <array>
#include <cerrno>
#include <fstream>
#include <random>

namespace delvard {

namespace {

constexpr std::string_view TemporaryPrefix = ".delvard-";
constexpr std::string_view TemporarySuffix = ".new";
constexpr std::size_t TemporaryDigits = 12;
constexpr std::string_view CopySuffix = ".copy";

std::string hexDigits(std::uint64_t value, std::size_t digits)
{
    static constexpr char hex[] = "0123456789abcdef";
    std::string text(digits, '0');
    for (std::size_t i = digits; i-- > 0; value >>= 4)
        text[i] = hex[value & 0xF];
    return text;
}

fs::path freshTemporaryName(const fs::path& folder)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return folder / (std::string(TemporaryPrefix) + hexDigits(random(), TemporaryDigits) +
                     std::string(TemporarySuffix));
}

// Names the system itself hands out for its streams and devices: replacing
// one of them would cut the link to the stream (a shell's "> out.png" keeps
// writing into the file it opened, not into a new one of the same name).
bool isSystemStreamName(const fs::path& path)
{
    const std::string name = path.generic_string();
    return name.starts_with("/dev/") || name.starts_with("/proc/");
}

// Errors with which a folder says it takes no new file at all, as opposed
// to a disk that is full or a name that is wrong.
bool folderTakesNoNewFile(const std::error_code& error)
{
    return error == std::errc::read_only_file_system || error == std::errc::permission_denied ||
           error == std::errc::operation_not_permitted;
}

platform::WritableFile createTemporary(const fs::path& folder, fs::path& name,
                                       std::error_code& error)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = freshTemporaryName(folder);
        auto file =
            platform::WritableFile::open(name, platform::WritableFile::Mode::CreateNew, error);
        if (error != std::errc::file_exists)
            return file;
    }
    return {};
}

// Copies from's bytes into the open file, which must be empty.
std::error_code copyInto(platform::WritableFile& file, const fs::path& from, std::uintmax_t& copied)
{
    errno = 0;
    std::ifstream in(from, std::ios::binary);
    if (!in)
        return {errno ? errno : EIO, std::generic_category()};
    std::array<char, 64 * 1024> chunk{};
    copied = 0;
    while (in) {
        in.read(chunk.data(), chunk.size());
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        if (const auto error = file.write(chunk.data(), got))
            return error;
        copied += got;
    }
    if (in.bad())
        return {errno ? errno : EIO, std::generic_category()};
    return {};
}

// The name's own bytes (UTF-16 units on Windows), which every name has;
// converting it to narrow text can fail there.
std::string_view nativeBytes(const fs::path& name)
{
    const auto& native = name.native();
    return {reinterpret_cast<const char*>(native.data()),
            native.size() * sizeof(fs::path::value_type)};
}

} // namespace

bool isTemporaryName(const fs::path& fileName)
{
    const std::u8string utf8 = fileName.filename().u8string();
    const std::string name(utf8.begin(), utf8.end());
    if (name.size() != TemporaryPrefix.size() + TemporaryDigits + TemporarySuffix.size() ||
        !name.starts_with(TemporaryPrefix) || !name.ends_with(TemporarySuffix))
        return false;
    const std::string_view digits =
        std::string_view(name).substr(TemporaryPrefix.size(), TemporaryDigits);
    return digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

void removeLeftoverTemporaries(const fs::path& folder)
{
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (!isTemporaryName(it->path()) || !it->is_regular_file(ignored) ||
            it->is_symlink(ignored))
            continue;
        const auto modified = fs::last_write_time(it->path(), ignored);
        if (!ignored && now - modified > LeftoverAge)
            fs::remove(it->path(), ignored);
    }
}

fs::path inPlaceCopyOf(const fs::path& target)
{
    return target.parent_path() /
           (std::string(TemporaryPrefix) +
            hexDigits(contentHash(nativeBytes(target.filename())), 16) + std::string(CopySuffix));
}

fs::path stateCopyOf(const fs::path& target)
{
    const std::optional<fs::path> state = platform::userStateFolder();
    if (!state)
        return {};
    return *state / "delvard" / "copies" /
           (hexDigits(contentHash(nativeBytes(target)), 16) + std::string(CopySuffix));
}

std::array<fs::path, 2> safetyCopiesOf(const fs::path& target)
{
    return {inPlaceCopyOf(target), stateCopyOf(target)};
}

namespace {

// After a write that reached the disk, no copy of the file's old bytes is
// needed any more; one left by an earlier stopped write would be outdated.
void removeSafetyCopies(const fs::path& target)
{
    for (const fs::path& copy : safetyCopiesOf(target)) {
        std::error_code error;
        if (!copy.empty() && fs::remove(copy, error))
            error = platform::syncFolder(copy.parent_path());
    }
}

} // namespace

FileOutput::FileOutput(fs::path target, Streams streams, SafetyCopy safetyCopy)
    : given_(std::move(target)), streams_(streams), safetyCopy_(safetyCopy)
{
}

FileOutput::~FileOutput()
{
    if (!committed_)
        abandon();
}

bool FileOutput::fail(FileProblem::Kind kind, const std::error_code& error)
{
    problem_ = {kind, error, 0, {}};
    return false;
}

bool FileOutput::open()
{
    problem_ = {};
    if (given_.empty())
        return fail(FileProblem::Kind::NoName, {});
    std::error_code error;
    const fs::file_status status = fs::status(given_, error);
    const fs::file_type type = status.type();
    const bool streamsAllowed = streams_ == Streams::Allowed;

    if (type == fs::file_type::not_found) {
        // A new file; a link to nowhere gets its target made, so it stays a link.
        std::error_code ignored;
        fs::path name = given_;
        if (fs::is_symlink(fs::symlink_status(given_, ignored))) {
            const fs::path to = fs::read_symlink(given_, ignored);
            name = to.is_absolute() ? to : given_.parent_path() / to;
        }
        target_ = fs::weakly_canonical(name, error);
        if (error)
            return fail(FileProblem::Kind::Unreachable, error);
        return openForRename();
    }
    if (error)
        return fail(FileProblem::Kind::Unreachable, error);
    if (type != fs::file_type::regular || (streamsAllowed && isSystemStreamName(given_))) {
        if (streamsAllowed && type != fs::file_type::directory)
            return openStream();
        problem_ = whyNotARegularFile(given_);
        return false;
    }

    target_ = fs::canonical(given_, error);
    if (error)
        return fail(FileProblem::Kind::Unreachable, error);
    // A file that cannot be written is refused here, before any copy or
    // temporary file is made: a rename over it would succeed in a folder
    // that can be written, and the read-only file would be gone.
    {
        auto probe =
            platform::WritableFile::open(target_, platform::WritableFile::Mode::Existing, error);
        if (error)
            return fail(folderTakesNoNewFile(error) ? FileProblem::Kind::ReadOnly
                                                    : FileProblem::Kind::CannotOpenForWriting,
                        error);
        probe.close();
    }
    const auto links = fs::hard_link_count(target_, error);
    if (!error && links > 1) {
        removeLeftoverTemporaries(target_.parent_path());
        return openInPlace();
    }
    return openForRename();
}

bool FileOutput::openStream()
{
    std::error_code error;
    file_ = platform::WritableFile::open(given_, platform::WritableFile::Mode::Stream, error);
    if (error)
        return fail(FileProblem::Kind::CannotOpenForWriting, error);
    method_ = Method::Stream;
    return true;
}

bool FileOutput::openForRename()
{
    const fs::path folder = target_.parent_path();
    removeLeftoverTemporaries(folder);
    std::error_code error;
    file_ = createTemporary(folder, temporary_, error);
    if (error) {
        temporary_.clear();
        std::error_code ignored;
        if (folderTakesNoNewFile(error) && fs::is_regular_file(target_, ignored))
            return openInPlace();
        return fail(FileProblem::Kind::NoNewFileBeside, error);
    }
    // The new file must be the old one to everybody who sees it: same owner.
    const auto oldOwner = platform::ownerOf(target_);
    if (oldOwner && platform::ownerOf(temporary_) != oldOwner) {
        file_.close();
        fs::remove(temporary_, error);
        temporary_.clear();
        return openInPlace();
    }
    method_ = Method::Rename;
    return true;
}

bool FileOutput::openInPlace()
{
    // A whole copy of the file first, synced, and its name synced: should the
    // system fail while the file is being overwritten, the copy still holds
    // every byte. Beside the file, or where its folder takes no new file, in
    // the user's state folder.
    std::error_code error = writeSafetyCopy(inPlaceCopyOf(target_));
    if (error && folderTakesNoNewFile(error)) {
        const fs::path elsewhere = stateCopyOf(target_);
        if (!elsewhere.empty())
            error = writeSafetyCopy(elsewhere);
        if (error && safetyCopy_ == SafetyCopy::Optional)
            error.clear();
        else if (error)
            return fail(FileProblem::Kind::NoSafetyCopy, error);
    }
    if (error)
        return fail(FileProblem::Kind::CopyNotWritten, error);
    file_ = platform::WritableFile::open(target_, platform::WritableFile::Mode::Existing, error);
    if (error) {
        abandon();
        return fail(FileProblem::Kind::CannotOpenForWriting, error);
    }
    method_ = Method::InPlace;
    return true;
}

std::error_code FileOutput::writeSafetyCopy(const fs::path& copy)
{
    const fs::path folder = copy.parent_path();
    if (const FileProblem made = makeFolders(folder))
        return made.os;
    std::error_code error;
    fs::remove(copy, error);
    auto file = platform::WritableFile::open(copy, platform::WritableFile::Mode::CreateNew, error);
    if (error)
        return error;
    std::uintmax_t copied = 0;
    error = copyInto(file, target_, copied);
    if (!error)
        error = file.sync();
    if (!error)
        error = file.close();
    if (!error)
        error = platform::syncFolder(folder);
    if (error) {
        std::error_code ignored;
        fs::remove(copy, ignored);
        return error;
    }
    copy_ = copy;
    return {};
}

bool FileOutput::write(std::string_view bytes)
{
    if (method_ == Method::None || !file_.isOpen()) {
        if (!problem_)
            problem_.kind = FileProblem::Kind::NotOpen;
        return false;
    }
    if (method_ == Method::InPlace)
        touchedTarget_ = true;
    if (const auto error = file_.write(bytes.data(), bytes.size())) {
        switch (method_) {
        case Method::Rename:
            fail(FileProblem::Kind::NewCopyNotWritten, error);
            break;
        case Method::InPlace:
            fail(FileProblem::Kind::NotWrittenInPlace, error);
            break;
        default:
            fail(FileProblem::Kind::StreamNotWritten, error);
        }
        abandon();
        return false;
    }
    written_ += bytes.size();
    return true;
}

bool FileOutput::commit()
{
    bool ok = false;
    switch (method_) {
    case Method::None:
        if (!problem_)
            problem_.kind = FileProblem::Kind::NotOpen;
        return false;
    case Method::Stream:
        if (const auto error = file_.close())
            return fail(FileProblem::Kind::StreamNotWritten, error);
        ok = true;
        break;
    case Method::Rename:
        ok = commitRename();
        break;
    case Method::InPlace:
        ok = commitInPlace();
        break;
    }
    if (!ok) {
        abandon();
        return false;
    }
    committed_ = true;
    return true;
}

bool FileOutput::commitRename()
{
    std::error_code error;
    const fs::file_status old = fs::status(target_, error);
    if (!error && old.type() == fs::file_type::regular)
        fs::permissions(temporary_, old.permissions(), error);
    if ((error = file_.sync()))
        return fail(FileProblem::Kind::NewCopyNotWritten, error);
    if ((error = file_.close()))
        return fail(FileProblem::Kind::NewCopyNotWritten, error);
    if ((error = platform::renameOver(temporary_, target_)))
        return fail(FileProblem::Kind::NewCopyNotInPlace, error);
    temporary_.clear();
    if ((error = platform::syncFolder(target_.parent_path())))
        return fail(FileProblem::Kind::FolderNotSynced, error);
    removeSafetyCopies(target_);
    return true;
}

bool FileOutput::commitInPlace()
{
    std::error_code error = file_.truncate(written_);
    if (!error)
        error = file_.sync();
    const std::error_code closeError = file_.close();
    if (!error)
        error = closeError;
    if (error)
        return fail(FileProblem::Kind::NotWrittenInPlace, error);
    touchedTarget_ = false;
    copy_.clear();
    removeSafetyCopies(target_);
    return true;
}

bool FileOutput::putOldBytesBack()
{
    if (copy_.empty())
        return false;
    if (file_.isOpen())
        (void)file_.close();
    std::error_code error;
    auto file =
        platform::WritableFile::open(target_, platform::WritableFile::Mode::Existing, error);
    std::uintmax_t copied = 0;
    if (!error)
        error = copyInto(file, copy_, copied);
    if (!error)
        error = file.truncate(copied);
    if (!error)
        error = file.sync();
    if (file.isOpen() && !error)
        error = file.close();
    return !error;
}

void FileOutput::abandon()
{
    std::error_code ignored;
    switch (method_) {
    case Method::Rename:
        if (file_.isOpen())
            ignored = file_.close();
        if (!temporary_.empty())
            fs::remove(temporary_, ignored);
        temporary_.clear();
        break;
    case Method::InPlace:
    case Method::None:
        if (touchedTarget_ && !putOldBytesBack()) {
            keptCopy_ = copy_;
        } else if (!copy_.empty()) {
            if (file_.isOpen())
                ignored = file_.close();
            fs::remove(copy_, ignored);
        }
        copy_.clear();
        touchedTarget_ = false;
        break;
    case Method::Stream:
        if (file_.isOpen())
            ignored = file_.close();
        break;
    }
    method_ = Method::None;
}

FileAtHand makeSureFileExists(const fs::path& path)
{
    FileAtHand result;
    std::error_code error;
    const fs::file_type type = fs::status(path, error).type();
    if (type == fs::file_type::not_found) {
        auto file =
            platform::WritableFile::open(path, platform::WritableFile::Mode::CreateNew, error);
        if (!error)
            error = file.close();
        if (error) {
            result.problem = {FileProblem::Kind::CannotCreate, error, 0, {}};
            return result;
        }
        result.ok = result.empty = true;
        return result;
    }
    if (type != fs::file_type::regular) {
        result.problem = whyNotARegularFile(path);
        return result;
    }
    auto file = platform::WritableFile::open(path, platform::WritableFile::Mode::Existing, error);
    if (!error)
        error = file.close();
    if (error) {
        result.problem = {folderTakesNoNewFile(error) ? FileProblem::Kind::ReadOnly
                                                      : FileProblem::Kind::CannotOpenForWriting,
                          error,
                          0,
                          {}};
        return result;
    }
    result.empty = fs::file_size(path, error) == 0 && !error;
    result.ok = true;
    return result;
}

FileWrite replaceFile(const fs::path& target, std::string_view bytes,
                      FileOutput::SafetyCopy safetyCopy)
{
    FileOutput output(target, FileOutput::Streams::Refused, safetyCopy);
    FileWrite result;
    result.ok = output.open() && output.write(bytes) && output.commit();
    if (!result.ok) {
        result.problem = output.problem();
        result.keptCopy = output.keptCopy();
    }
    return result;
}

} // namespace delvard
