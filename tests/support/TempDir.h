// A fresh temporary directory for one test, removed with everything in it.
#pragma once

#include <string>
#include <string_view>

namespace velmora::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory, ending with a separator.
    const std::string& Path() const { return FPath; }
    // The full path of a name inside the directory.
    std::string File(const std::string& name) const { return FPath + name; }
    // Writes bytes to a file inside the directory and returns its path.
    std::string Write(const std::string& name, std::string_view bytes) const;
    // The file's bytes, or an empty string when it cannot be read.
    static std::string Read(const std::string& path);

private:
    std::string FPath;
};

} // namespace velmora::test
