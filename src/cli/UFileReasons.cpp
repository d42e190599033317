#include "cli/UFileReasons.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "platform/UFiles.h"
#include "platform/UPaths.h"

namespace fs = std::filesystem;

namespace velmora::cli {

std::string WhyUnreadable(const std::string& path)
{
    std::error_code ec;
    fs::file_status status = fs::status(FileSystemPath(path), ec);
    if (ec || !fs::exists(status))
        return ec && ec != std::errc::no_such_file_or_directory ? ec.message() : "not found";
    if (fs::is_directory(status))
        return "a directory";
    // Not opened: a named pipe would wait for a writer.
    if (!fs::is_regular_file(status))
        return "not a regular file";
    std::FILE* f = OpenForReading(path);
    if (!f)
        return std::strerror(errno);
    std::fclose(f);
    return std::string();
}

std::string WhyUnwritable(const std::string& path)
{
    std::string folder = ExtractFilePath(path);
    std::string shown = folder.empty() ? "." : folder;
    std::error_code ec;
    fs::file_status status = fs::status(FileSystemPath(shown), ec);
    if (!fs::exists(status))
        return "the folder " + shown + " does not exist";
    if (!fs::is_directory(status))
        return shown + " is not a folder";
    if (fs::is_directory(path, ec))
        return "a directory of that name exists";
    if (::access(shown.c_str(), W_OK) != 0)
        return std::strerror(errno);
    return std::string();
}

} // namespace velmora::cli
