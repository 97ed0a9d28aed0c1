#include "fuzz/CodecFuzzEntry.h"

#include <cstddef>
#include <cstdint>

using namespace delvard;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    delvard::fuzz::runCodecOnBytes(data, size);
    return 0;
}
