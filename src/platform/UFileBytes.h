// The bytes of a whole file in one buffer of their own, read straight into it
// with one read of the file's size: no second copy, no growing.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace velmora {

class TFileBytes {
public:
    // False when the path names no regular file or the file cannot be read;
    // the bytes are then empty.
    bool Read(const std::string& path);
    std::string_view View() const { return {FData.get(), FSize}; }

private:
    // Frees what Allocate took, however it took it.
    struct TRelease {
        std::size_t Capacity; // 0 for memory from new[]
        void operator()(char* data) const;
    };

    void Allocate(std::size_t capacity);

    std::unique_ptr<char[], TRelease> FData;
    std::size_t FCapacity = 0;
    std::size_t FSize = 0;
};

} // namespace velmora
