#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/UPaths.h"

namespace fs = std::filesystem;

namespace velmora::test {

TempDir::TempDir()
{
    // A random name, taken only when this call creates the directory, so that
    // tests running side by side never share one.
    std::random_device random;
    fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path dir = base / ("velmora-test-" + std::to_string(random()) + std::to_string(random()));
        std::error_code ec;
        if (fs::create_directory(dir, ec)) {
            FPath = IncludeTrailingPathDelimiter(dir.string());
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(FPath, ec);
}

std::string TempDir::Write(const std::string& name, std::string_view bytes) const
{
    std::string path = File(name);
    std::ofstream out(FileSystemPath(path), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

std::string TempDir::Read(const std::string& path)
{
    std::ifstream in(FileSystemPath(path), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace velmora::test
