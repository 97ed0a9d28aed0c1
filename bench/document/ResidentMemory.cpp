#include "bench/document/ResidentMemory.h"

#include <fstream>
#include <string>

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

} // namespace residentmemory
