#pragma once

#include <cstddef>

// What the process holds in RAM, read from the kernel.
namespace residentmemory {

// VmRSS of this process in KiB, or -1 when /proc cannot be read.
long processKilobytes();

// Bytes of [address, address + size) that sit in RAM now (whole pages that
// overlap the range), or -1 when the kernel will not say.
long rangeBytes(const void* address, std::size_t size);

} // namespace residentmemory
