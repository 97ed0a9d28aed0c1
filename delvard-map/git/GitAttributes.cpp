#include "delvard-map/git/GitAttributes.h"

#include <algorithm>

namespace delvard {

namespace {

std::string_view trimmed(std::string_view line)
{
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::optional<std::string> withMapAttributes(std::string_view content)
{
    for (std::size_t start = 0; start < content.size();) {
        const std::size_t end = std::min(content.find('\n', start), content.size());
        if (trimmed(content.substr(start, end - start)) == MapAttributesLine)
            return std::nullopt;
        start = end + 1;
    }
    const std::string_view lineEnd = content.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    std::string added(content);
    if (!added.empty() && added.back() != '\n')
        added += lineEnd;
    added += MapAttributesLine;
    added += lineEnd;
    return added;
}

} // namespace delvard
