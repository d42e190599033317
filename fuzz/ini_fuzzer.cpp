// Feeds arbitrary bytes to the INI reader as a settings file. Besides crashes
// and undefined behaviour it checks that a write reads back as written and
// leaves every other section as it read before, and that erasing undoes it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/UFiles.h"
#include "platform/UIniFile.h"
#include "platform/UPaths.h"
#include "settings/UCustomIni.h"

using namespace velmora;

namespace {

const std::vector<std::pair<std::string, std::string>> Probes = {
    {"Profiles", "Profile #0"},
    {"profiles", "PROFILE #19"},
    {"Defaults storage", "Use ini defaults"},
    {"Defaults", "HTML Background"},
    {"Defaults", "Default Profile Extention"},
    {"Main Window Placement", "MinMaxPos(1024x768)"},
    {"Main Window Placement.SrcFilesList_Columns", "Item0_Width"},
    {"", "k"},
};
const std::string WrittenSection = "Fuzz Written.(1)";
const std::string WrittenKey = "Item0_Width";

// The file each input is written to, in memory where possible, removed when the run ends.
class TFuzzFile {
public:
    TFuzzFile()
    {
        std::error_code ec;
        std::filesystem::path dir = std::filesystem::is_directory("/dev/shm", ec)
                                        ? std::filesystem::path("/dev/shm")
                                        : std::filesystem::temp_directory_path();
        Path = (dir / ("velmora-ini-fuzz-" + std::to_string(std::random_device{}()) + ".ini")).string();
    }
    ~TFuzzFile()
    {
        std::error_code ec;
        std::filesystem::remove(Path, ec);
    }
    std::string Path;
};

struct TSnapshot {
    std::vector<std::string> Strings;
    std::vector<int> Integers;
    std::vector<bool> Sections;
    bool operator==(const TSnapshot&) const = default;
};

TSnapshot Probe(const TIniFile& ini)
{
    TSnapshot s;
    for (const auto& [section, key] : Probes) {
        s.Strings.push_back(ini.ReadString(section, key, "<none>"));
        s.Integers.push_back(ini.ReadInteger(section, key, -12345));
        s.Sections.push_back(ini.SectionExists(section));
    }
    return s;
}

void CheckSettings(const std::string& path)
{
    TCustomIni settings(path, nullptr, "/nonexistent/");
    settings.LoadSettings();
    const auto& recent = settings.RecentProfiles();
    if (recent.empty() || recent.size() > static_cast<std::size_t>(MaxRecentProfiles))
        std::abort();
    for (std::size_t i = 0; i < recent.size(); ++i)
        for (std::size_t j = i + 1; j < recent.size(); ++j)
            if (SamePath(recent[i], recent[j]))
                std::abort();
    RestoreBuiltInDefaults();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TFuzzFile file;
    const std::string& path = file.Path;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!WriteFileAtomically(path, bytes))
        std::abort();

    TIniFile ini(path);
    TSnapshot before = Probe(ini);
    CheckSettings(path);

    // A value taken from the input; one with a line break must be refused
    // without touching the file.
    std::string value(bytes.substr(bytes.size() > 12 ? bytes.size() - 12 : 0));
    try {
        ini.WriteString(WrittenSection, WrittenKey, value);
    } catch (const EGenException&) {
        std::string now;
        if (value.find_first_of("\r\n") == std::string::npos || !ReadWholeFile(path, now) || now != bytes)
            std::abort();
        return 0;
    }
    if (ini.ReadString(WrittenSection, WrittenKey, "<none>") != value || !ini.SectionExists(WrittenSection))
        std::abort();
    if (Probe(ini) != before)
        std::abort();

    ini.EraseSection(WrittenSection);
    if (ini.SectionExists(WrittenSection) || Probe(ini) != before)
        std::abort();
    return 0;
}
