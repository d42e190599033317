// Feeds arbitrary bytes to the reader of user-dirs.dirs. Besides crashes and
// undefined behaviour it checks that a folder it names is absolute: the home
// folder or below it, or a path that starts at the root.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/UPaths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string home = "/home/q3";
    std::string documents = velmora::UserDirsDocuments(std::string(reinterpret_cast<const char*>(data), size), home);
    if (!documents.empty() && documents.front() != '/')
        std::abort();
    return 0;
}
