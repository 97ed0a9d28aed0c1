#include "tools/make_samples/SampleMaps.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

// make_samples FOLDER: writes the sample maps into FOLDER (created if need be).
int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make_samples FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "make_samples: %s: %s\n", folder.string().c_str(),
                     error.message().c_str());
        return 1;
    }
    for (const SampleMap& sample : sampleMaps()) {
        const std::filesystem::path path = folder / sample.fileName;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(sample.bytes.data(), static_cast<std::streamsize>(sample.bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "make_samples: %s: cannot write the file\n",
                         path.string().c_str());
            return 1;
        }
        std::printf("%s (%zu bytes)\n", path.string().c_str(), sample.bytes.size());
    }
    return 0;
}
