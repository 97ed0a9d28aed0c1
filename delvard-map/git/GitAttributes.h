#pragma once

#include <optional>
#include <string>
#include <string_view>

// The line of a gitattributes file that hands map files to delvard-map.
// git matches patterns case-sensitively, hence the brackets, for names
// that end in "map.kld" in any case, as the desktop's file type does.
// -text keeps git's line-end conversion away: the codes 0x0A and 0x0D are
// cells, not line ends.
namespace delvard {

inline constexpr std::string_view MapAttributesLine =
    "*[mM][aA][pP].[kK][lL][dD] -text diff=delvard merge=delvard";

// The attributes file's content with that line added at its end, or nothing
// when one of its lines already says exactly that. The file's own line ends
// (LF or CR LF) are kept.
std::optional<std::string> withMapAttributes(std::string_view content);

} // namespace delvard
