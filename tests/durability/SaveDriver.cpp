// save_driver TARGET NEW_CONTENT_FILE: gives TARGET the bytes of
// NEW_CONTENT_FILE through the file layer, as the editor saves a map. The
// durability script runs it under strace and kills it at each system call,
// so it stays one thread doing one save and nothing else.
#include "document/FileReader.h"
#include "document/FileWriter.h"

#include <iostream>

using namespace delvard;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: save_driver TARGET NEW_CONTENT_FILE\n";
        return 2;
    }
    const delvard::FileRead content = delvard::readMapFile(argv[2]);
    if (!content.ok) {
        std::cerr << "cannot read the new content: problem "
                  << static_cast<int>(content.problem.kind) << "\n";
        return 1;
    }
    const delvard::FileWrite saved = delvard::replaceFile(argv[1], content.bytes);
    if (!saved.ok) {
        std::cerr << "save failed: problem " << static_cast<int>(saved.problem.kind) << ": "
                  << saved.problem.os.message() << "\n";
        if (!saved.keptCopy.empty())
            std::cerr << "old bytes kept in " << saved.keptCopy << "\n";
        return 1;
    }
    return 0;
}
