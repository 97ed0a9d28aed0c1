#include "ResidentMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace residentmemory {

long processKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

long rangeBytes(const void* address, std::size_t size)
{
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<std::uintptr_t>(address) & ~(page - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(address) + size;
    const std::size_t pages = (end - first + page - 1) / page;
    std::vector<unsigned char> resident(pages);
    if (mincore(reinterpret_cast<void*>(first), pages * page, resident.data()) != 0)
        return -1;
    long count = 0;
    for (const unsigned char flag : resident)
        count += flag & 1;
    return count * static_cast<long>(page);
}

} // namespace residentmemory
