#pragma once

#include "document/FileProblem.h"

#include <filesystem>

namespace delvard {

// Makes a folder and the folders above it that are missing. A folder that
// is there already is no problem; a file in its place is.
FileProblem makeFolders(const std::filesystem::path& folder);

} // namespace delvard
