// Files a window test starts from: profiles, the settings file's recent list
// and dumps, made in the test's own directory.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/UIniFile.h"
#include "settings/UHighLighter.h"
#include "support/TempDir.h"

namespace velmora::test {

// A profile file in dir with the given page title and dump files.
inline std::string WriteProfile(const TempDir& dir, const std::string& name, const std::string& title,
                                const std::vector<std::string>& files = {})
{
    TPlatform platform;
    platform.ProgramDir = dir.Path();
    THighlightProfile profile(nullptr, platform);
    profile.HTMLOptions().SetTitle(title);
    profile.IOOptions().AddFiles(files);
    std::string path = dir.File(name);
    EXPECT_TRUE(profile.SaveToFile(path)) << path;
    return path;
}

// The profile stored in a file.
inline std::unique_ptr<THighlightProfile> ReadProfile(const std::string& path)
{
    auto profile = std::make_unique<THighlightProfile>(nullptr, TPlatform{});
    EXPECT_TRUE(profile->LoadFromFile(path)) << path;
    return profile;
}

inline std::string TitleIn(const std::string& path)
{
    return ReadProfile(path)->HTMLOptions().FTitle;
}

// The recent profiles of a settings file, the first being the current one.
inline void WriteRecentProfiles(const std::string& iniPath, const std::vector<std::string>& paths)
{
    TIniFile ini(iniPath);
    for (std::size_t i = 0; i < paths.size(); ++i)
        ini.WriteString("Profiles", "Profile #" + std::to_string(i), paths[i]);
}

// A dump of `lines` chat lines in dir.
inline std::string WriteDump(const TempDir& dir, const std::string& name, int lines = 400)
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "Player" + std::to_string(i % 7) + ": line " + std::to_string(i) + " of the match\r\n";
    return dir.Write(name, text);
}

} // namespace velmora::test
