// Read-only look-up of a string value under HKEY_LOCAL_MACHINE. On a platform
// without a registry every key counts as one that cannot be opened.
#pragma once

#include <optional>
#include <string>

namespace velmora {

struct TRegistryValue {
    bool KeyOpened = false;
    std::optional<std::string> Value; // absent when the key has no such value
};

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // A value that exists but does not hold a string counts as a key that
    // cannot be opened.
    virtual TRegistryValue ReadString(const std::string& key, const std::string& name) const = 0;
};

// The machine's registry (Windows: the native view, then the 32-bit one), or
// "key cannot be opened" elsewhere.
class TSystemRegistry : public IRegistry {
public:
    TRegistryValue ReadString(const std::string& key, const std::string& name) const override;
};

} // namespace velmora
