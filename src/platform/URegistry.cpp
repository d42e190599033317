#include "platform/URegistry.h"

#include "shared/UGenDeclarations.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora {

#ifdef _WIN32
TRegistryValue TSystemRegistry::ReadString(const std::string& key, const std::string& name) const
{
    TRegistryValue result;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return result;
    result.KeyOpened = true;
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExA(handle, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        if (type != REG_SZ && type != REG_EXPAND_SZ) {
            RegCloseKey(handle);
            throw EGenException("Invalid data type for '" + name + "'");
        }
        std::string value(size, '\0');
        RegQueryValueExA(handle, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(value.data()), &size);
        while (!value.empty() && value.back() == '\0')
            value.pop_back();
        result.Value = value;
    }
    RegCloseKey(handle);
    return result;
}
#else
TRegistryValue TSystemRegistry::ReadString(const std::string&, const std::string&) const
{
    return {};
}
#endif

} // namespace velmora
