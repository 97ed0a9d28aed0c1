#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

// One run of the map codec over arbitrary bytes, with every property the
// editor relies on checked along the way. Shared by the libFuzzer target
// and the corpus replay test, so a corpus input that breaks the codec fails
// the ordinary test run too.
namespace delvard::fuzz {

// Thrown when a property of the codec does not hold. libFuzzer reports the
// escaping exception as a crash; the replay test names the input.
class CodecPropertyBroken : public std::logic_error
{
  public:
    using std::logic_error::logic_error;
};

void runCodecOnBytes(const std::uint8_t* data, std::size_t size);

} // namespace delvard::fuzz
