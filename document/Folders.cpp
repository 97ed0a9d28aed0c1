#include "document/Folders.h"

namespace delvard {

FileProblem makeFolders(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!error)
        return {};
    std::error_code ignored;
    const auto status = std::filesystem::status(folder, ignored);
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status))
        return {FileProblem::Kind::FileNotFolder,
                std::make_error_code(std::errc::not_a_directory),
                0,
                {}};
    return {FileProblem::Kind::FolderNotMade, error, 0, {}};
}

} // namespace delvard
