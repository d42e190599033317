// The machine's registry: Windows only, where a test may write its own key.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/URegistry.h"
#include "platform/UText.h"

namespace velmora {
namespace {

// A key of this test under HKEY_LOCAL_MACHINE in one view of the registry,
// deleted at the end.
class TestKey {
public:
    TestKey(const std::string& path, REGSAM view) : FPath(path), FView(view)
    {
        FOpened = RegCreateKeyExW(HKEY_LOCAL_MACHINE, WideText(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view,
                                  nullptr, &FKey, nullptr) == ERROR_SUCCESS;
    }
    ~TestKey()
    {
        if (!FOpened)
            return;
        RegCloseKey(FKey);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, WideText(FPath).c_str(), FView, 0);
    }
    bool Opened() const { return FOpened; }
    void SetString(const std::wstring& name, const std::wstring& value)
    {
        RegSetValueExW(FKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    void SetNumber(const std::wstring& name, DWORD value)
    {
        RegSetValueExW(FKey, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }

private:
    std::string FPath;
    REGSAM FView;
    HKEY FKey = nullptr;
    bool FOpened = false;
};

TEST(SystemRegistry, ReadsTheThirtyTwoBitViewAndTakesANumberForAMissingKey)
{
    const std::string path = "Software\\Velmora Registry Test " + std::to_string(GetCurrentProcessId());
    TestKey key(path, KEY_WOW64_32KEY);
    if (!key.Opened())
        GTEST_SKIP() << "no right to write under HKEY_LOCAL_MACHINE";
    key.SetString(L"INSTALLPATH", L"C:\\Games\\\u00C4rger");
    key.SetNumber(L"VERSION", 132);
    TSystemRegistry registry;

    TRegistryValue path32 = registry.ReadString(path, "INSTALLPATH");
    EXPECT_TRUE(path32.KeyOpened);
    EXPECT_EQ(path32.Value, "C:\\Games\\\xC3\x84rger");
    TRegistryValue missing = registry.ReadString(path, "GONE");
    EXPECT_TRUE(missing.KeyOpened);
    EXPECT_FALSE(missing.Value);
    TRegistryValue number = registry.ReadString(path, "VERSION");
    EXPECT_FALSE(number.KeyOpened) << "a value that is no text counts as a key that cannot be opened";
    EXPECT_FALSE(registry.ReadString(path + "\\none", "INSTALLPATH").KeyOpened);
}

} // namespace
} // namespace velmora
#endif
