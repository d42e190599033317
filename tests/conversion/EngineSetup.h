// A conversion engine wired to fresh option groups, fake controls and a
// scripted message pump, working inside a temporary directory.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "conversion/UConvertClass.h"
#include "settings/UAppOptions.h"
#include "settings/UHTMLOptions.h"
#include "settings/UHighLighter.h"
#include "settings/UIOOptions.h"
#include "support/FakeControls.h"
#include "support/TempDir.h"

namespace velmora::test {

// Joins page items the way a page holds them: every item followed by CR LF.
inline std::string Page(const std::vector<std::string>& items)
{
    std::string page;
    for (const std::string& item : items)
        page += item + "\r\n";
    return page;
}

struct TEngineSetup {
    TEngineSetup()
    {
        std::filesystem::create_directories(Dir.File("src"));
        std::filesystem::create_directories(Dir.File("out"));
        IO.SetDestDir(Dir.File("out/"));
        IO.SetDestImgDir(Dir.File("out/"));
        IO.BindControls(&ListView, nullptr, &DestEdit, &ImgEdit, &PromptCheck, &SkipCheck, nullptr, nullptr);
        Engine.SetOptions(&Html, &App, &IO, &Names);
        Engine.SetControls(&TotalBar, &FileBar, &ListView);
    }

    // Writes a dump into src/ and returns its path.
    std::string Dump(const std::string& name, const std::string& bytes) const { return Dir.Write("src/" + name, bytes); }
    std::string Out(const std::string& name) const { return Dir.File("out/" + name); }

    // Adds dumps to the file list (which shows them in the list view).
    void List(const std::vector<std::string>& paths) { IO.AddFiles(paths); }

    void AddName(const std::string& name, TColor color, const std::string& image = "", const std::string& before = "",
                 const std::string& after = "")
    {
        auto info = std::make_unique<THighLightInfo>();
        info->FColor = color;
        info->FImageFile = image;
        info->FHTMLBefore = before;
        info->FHTMLAfter = after;
        Names.push_back(TNameItem{name, std::move(info)});
    }

    // Converts one dump on its own and returns its page.
    std::string PageOf(const std::string& dumpBytes)
    {
        std::string out = Out("page.htm");
        Written = Engine.WritePage(Dump("dump.txt", dumpBytes), out);
        return TempDir::Read(out);
    }

    TempDir Dir;
    THTMLOptions Html{nullptr};
    TAppOptions App{nullptr};
    TIOOptions IO{nullptr, TPlatform{nullptr, nullptr, Dir.Path()}};
    TNamesList Names;
    FakeMessageBoxes Boxes;
    FakeProgressBar TotalBar;
    FakeProgressBar FileBar;
    FakeListView ListView;
    FakeCheck PromptCheck;
    FakeCheck SkipCheck;
    FakeText DestEdit;
    FakeText ImgEdit;
    int PumpCalls = 0;
    // Called with the number of the pump call, counting from 1.
    std::function<void(int)> OnPump;
    bool Written = false;
    TConvertClass Engine{&Boxes, [this] {
                             ++PumpCalls;
                             if (OnPump)
                                 OnPump(PumpCalls);
                         }};
};

} // namespace velmora::test
