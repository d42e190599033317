// What both front ends store at close for a window placed at 40,50 with a
// size of 700 by 420 and the file list's first column 250 pixels wide.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "platform/UIniFile.h"

namespace velmora::test {

inline void ExpectStoredPlacement(const std::string& iniPath, int showCmd)
{
    TIniFile ini(iniPath);
    const std::string section = "Main Window Placement";
    EXPECT_EQ(ini.ReadString(section, "NormPos", ""), "40,50,740,470");
    EXPECT_EQ(ini.ReadInteger(section, "ShowCmd", 0), showCmd);
    EXPECT_EQ(ini.ReadInteger(section, "Columns.Count", 0), 2);
    const std::string columns = section + ".SrcFilesList_Columns";
    EXPECT_EQ(ini.ReadString(columns, "Item0_Caption", ""), "File Name");
    EXPECT_EQ(ini.ReadInteger(columns, "Item0_Width", 0), 250);
    EXPECT_EQ(ini.ReadString(columns, "Item1_Alignment", ""), "taCenter");
    EXPECT_EQ(ini.ReadString(columns, "Item1_AutoSize", ""), "True");
}

} // namespace velmora::test
