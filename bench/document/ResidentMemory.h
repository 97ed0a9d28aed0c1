#pragma once

// What the process holds in RAM, read from the kernel.
namespace residentmemory {

// VmRSS of this process in KiB, or -1 when /proc cannot be read.
long processKilobytes();

} // namespace residentmemory
