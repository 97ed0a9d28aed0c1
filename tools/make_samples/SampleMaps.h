#pragma once

#include <string>
#include <vector>

// The sample maps shipped in samples/: file name and the file's bytes.
struct SampleMap
{
    std::string fileName;
    std::string bytes;
};

std::vector<SampleMap> sampleMaps();
