#include "platform/URegistry.h"

#include "platform/UText.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmora {

#ifdef _WIN32
namespace {
// The key's string value; the key is closed on return.
TRegistryValue ReadFromKey(HKEY key, const std::wstring& name)
{
    TRegistryValue result;
    result.KeyOpened = true;
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ) {
        result.KeyOpened = false; // a value that is no text is of no use: as if the key were missing
    } else if (rc == ERROR_SUCCESS) {
        std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes) ==
            ERROR_SUCCESS) {
            value.resize(bytes / sizeof(wchar_t));
            while (!value.empty() && value.back() == L'\0')
                value.pop_back();
            result.Value = Utf8Text(value);
        }
    }
    RegCloseKey(key);
    return result;
}
} // namespace

TRegistryValue TSystemRegistry::ReadString(const std::string& key, const std::string& name) const
{
    // The program's own view of the registry first, then the 32-bit view,
    // where a 32-bit installer writes on a 64-bit system.
    for (REGSAM view : {REGSAM{0}, REGSAM{KEY_WOW64_32KEY}}) {
        HKEY handle = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WideText(key).c_str(), 0, KEY_READ | view, &handle) == ERROR_SUCCESS)
            return ReadFromKey(handle, WideText(name));
    }
    return {};
}
#else
TRegistryValue TSystemRegistry::ReadString(const std::string&, const std::string&) const
{
    return {};
}
#endif

} // namespace velmora
