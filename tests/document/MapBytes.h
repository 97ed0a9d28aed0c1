#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// Builds map file bytes for tests: a header with the given size bytes,
// then the records as given.
inline std::string mapBytes(int width, int height,
                            std::initializer_list<std::initializer_list<std::uint8_t>> records = {},
                            std::string trailing = {})
{
    std::string bytes(36, '\x07');
    bytes[20] = static_cast<char>(width);
    bytes[24] = static_cast<char>(height);
    for (const auto& record : records)
        for (std::uint8_t byte : record)
            bytes.push_back(static_cast<char>(byte));
    return bytes + trailing;
}
