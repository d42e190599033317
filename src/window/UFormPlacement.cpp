#include "window/UFormPlacement.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "platform/UIniFile.h"
#include "shared/UGenDeclarations.h"

namespace velmora {

namespace {

// Show commands as the settings file has always stored them.
constexpr int ShowNormal = 1;
constexpr int ShowMinimized = 2;
constexpr int ShowMaximized = 3;

// How much of a title bar must lie on a screen for the window to be dragged by it.
constexpr int MinimumTitleBarInReach = 100;

// A default no stored value can have: values are single lines.
const std::string Missing = "\n";

struct TFourInts {
    int Value[4];
};

// "%d,%d,%d,%d"; a number that is missing keeps the value given.
TFourInts ParseFour(const std::string& text, TFourInts values)
{
    std::size_t start = 0;
    for (int& v : values.Value) {
        if (start > text.size())
            break;
        std::size_t comma = text.find(',', start);
        std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        try {
            std::size_t used = 0;
            int n = std::stoi(part, &used);
            if (used > 0)
                v = n;
        } catch (const std::exception&) {
            // Not a number: the value given stays.
        }
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return values;
}

std::string FormatFour(int a, int b, int c, int d)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d,%d,%d,%d", a, b, c, d);
    return buffer;
}

const char* AlignmentName(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::Center: return "taCenter";
    case TAlignment::Right: return "taRightJustify";
    case TAlignment::Left: break;
    }
    return "taLeftJustify";
}

} // namespace

TFormPlacement::TFormPlacement(IWindowPlacement& window, std::string section, TRestore restore)
    : FWindow(window), FSection(std::move(section)), FRestore(restore)
{
}

TFormPlacement::~TFormPlacement()
{
    if (FShown && !FSaved)
        Save(true);
}

void TFormPlacement::StoreColumns(IListColumns& list, const std::string& name)
{
    FLists.push_back({&list, name});
}

void TFormPlacement::WindowShown()
{
    if (FShown)
        return;
    FShown = true;
    Restore();
}

std::string TFormPlacement::ScreenSuffix() const
{
    return "(" + std::to_string(FWindow.ScreenWidth()) + "x" + std::to_string(FWindow.ScreenHeight()) + ")";
}

void TFormPlacement::Restore()
{
    if (FIniFileName.empty())
        return;
    TIniFile ini(FIniFileName);
    // The key of this screen size, or the plain key when that is missing or empty.
    auto read = [&](const std::string& key) {
        std::string value = ini.ReadString(FSection, key + ScreenSuffix(), Missing);
        if (value == Missing || value.empty())
            value = ini.ReadString(FSection, key, Missing);
        return value == Missing ? std::string() : value;
    };

    FFlags = ini.ReadInteger(FSection, "Flags", FFlags);
    const TWindowBounds current = FWindow.NormalBounds();
    TFourInts norm = ParseFour(read("NormPos"), {{current.Left, current.Top, current.Left + current.Width,
                                                  current.Top + current.Height}});
    int left = norm.Value[0], top = norm.Value[1], right = norm.Value[2], bottom = norm.Value[3];
    if (ini.ReadInteger(FSection, "PixelsPerInch", 0) == FWindow.PixelsPerInch() && left < right) {
        if (FRestore == TRestore::PositionOnly)
            FWindow.SetNormalBounds(Reachable({left, top, current.Width, current.Height}));
        else
            FWindow.SetNormalBounds(Reachable({left, top, right - left, bottom - top}));
    }

    if (FRestore == TRestore::StateAndPosition) {
        switch (ini.ReadInteger(FSection, "ShowCmd", ShowNormal)) {
        case 2: case 6: case 7: FWindow.SetState(TWindowState::Minimized); break;
        case 3: FWindow.SetState(TWindowState::Maximized); break;
        default: FWindow.SetState(TWindowState::Normal); break;
        }
        for (const TStoredList& stored : FLists)
            RestoreColumns(ini, stored);
    }
}

bool TFormPlacement::Save(bool destroying)
{
    FSaved = true;
    if (FIniFileName.empty())
        return true;
    try {
        TIniFile ini(FIniFileName);
        const TWindowState state = FWindow.State();
        const int showCmd = state == TWindowState::Minimized   ? ShowMinimized
                            : state == TWindowState::Maximized ? ShowMaximized
                                                               : ShowNormal;
        const TWindowBounds normal = FWindow.NormalBounds();
        std::string minMax = FormatFour(-1, -1, -1, -1);
        std::string normPos = FormatFour(normal.Left, normal.Top, normal.Left + normal.Width, normal.Top + normal.Height);
        ini.WriteInteger(FSection, "Flags", FFlags);
        ini.WriteInteger(FSection, "ShowCmd", showCmd);
        ini.WriteInteger(FSection, "PixelsPerInch", FWindow.PixelsPerInch());
        ini.WriteString(FSection, "MinMaxPos" + ScreenSuffix(), minMax);
        ini.WriteString(FSection, "MinMaxPos", minMax);
        ini.WriteString(FSection, "NormPos" + ScreenSuffix(), normPos);
        ini.WriteString(FSection, "NormPos", normPos);
        ini.WriteInteger(FSection, "Visible", destroying ? 1 : 0);
        for (const TStoredList& stored : FLists)
            SaveColumns(ini, stored);
    } catch (const EGenException&) {
        // The settings file cannot be written; whoever saves the settings next reports it.
        return false;
    }
    return true;
}

// Client bounds whose title bar can be reached with the mouse: the top edge of
// the window's frame lies in a screen's work area, with enough of the title
// bar beside it. Otherwise the frame, not the client area, is moved the least
// distance that brings it into the work area of the window's screen (and made
// no larger than that).
TWindowBounds TFormPlacement::Reachable(const TWindowBounds& client) const
{
    const std::vector<TWindowBounds> areas = FWindow.WorkAreas();
    if (areas.empty())
        return client;
    const TFrameMargins m = FWindow.FrameMargins();
    TWindowBounds frame{client.Left - m.Left, client.Top - m.Top, client.Width + m.Left + m.Right,
                        client.Height + m.Top + m.Bottom};
    const int titleToGrab = std::min(frame.Width, MinimumTitleBarInReach);
    const bool reachable = std::any_of(areas.begin(), areas.end(), [&](const TWindowBounds& a) {
        const int shown = std::min(frame.Left + frame.Width, a.Left + a.Width) - std::max(frame.Left, a.Left);
        return frame.Top >= a.Top && frame.Top < a.Top + a.Height && shown >= titleToGrab;
    });
    if (reachable)
        return client;
    const TWindowBounds& area = areas.front();
    frame.Width = std::min(frame.Width, area.Width);
    frame.Height = std::min(frame.Height, area.Height);
    frame.Left = std::clamp(frame.Left, area.Left, area.Left + area.Width - frame.Width);
    frame.Top = std::clamp(frame.Top, area.Top, area.Top + area.Height - frame.Height);
    return {frame.Left + m.Left, frame.Top + m.Top, frame.Width - m.Left - m.Right, frame.Height - m.Top - m.Bottom};
}

// ---- Columns of a list ------------------------------------------------------

void TFormPlacement::SaveColumns(TIniFile& ini, const TStoredList& stored) const
{
    std::string columnSection = FSection + "." + stored.Name + "_Columns";
    ini.EraseSection(columnSection);
    const std::vector<TListColumn> columns = stored.List->Columns();
    const int count = static_cast<int>(columns.size());
    ini.WriteInteger(FSection, "Columns.Count", count);
    for (int i = 0; i < count; ++i) {
        const TListColumn& column = columns[static_cast<std::size_t>(i)];
        std::string item = "Item" + std::to_string(i) + "_";
        bool autoSize = i == count - 1 && column.AutoSize;
        ini.WriteString(columnSection, item + "Alignment", AlignmentName(column.Alignment));
        ini.WriteString(columnSection, item + "AutoSize", autoSize ? "True" : "False");
        ini.WriteString(columnSection, item + "Caption", column.Caption);
        ini.WriteInteger(columnSection, item + "ImageIndex", -1);
        ini.WriteInteger(columnSection, item + "MaxWidth", 0);
        ini.WriteInteger(columnSection, item + "MinWidth", 0);
        ini.WriteInteger(columnSection, item + "Width", column.Width);
    }
}

void TFormPlacement::RestoreColumns(const TIniFile& ini, const TStoredList& stored) const
{
    std::string columnSection = FSection + "." + stored.Name + "_Columns";
    std::vector<TListColumn> columns = stored.List->Columns();
    int count = ini.ReadInteger(FSection, "Columns.Count", static_cast<int>(columns.size()));
    if (count < 1 || count > 64)
        return;
    columns.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        TListColumn& column = columns[static_cast<std::size_t>(i)];
        const bool last = i == count - 1;
        std::string item = "Item" + std::to_string(i) + "_";
        std::string alignment = ini.ReadString(columnSection, item + "Alignment", Missing);
        if (alignment == "taCenter")
            column.Alignment = TAlignment::Center;
        else if (alignment == "taRightJustify")
            column.Alignment = TAlignment::Right;
        else if (alignment == "taLeftJustify")
            column.Alignment = TAlignment::Left;
        std::string caption = ini.ReadString(columnSection, item + "Caption", Missing);
        if (caption != Missing)
            column.Caption = caption;
        std::string autoSize = ini.ReadString(columnSection, item + "AutoSize", Missing);
        if (last && (autoSize == "True" || autoSize == "False"))
            column.AutoSize = autoSize == "True";
        int width = ini.ReadInteger(columnSection, item + "Width", -1);
        if (width > 0 && width < 100000 && !(last && column.AutoSize))
            column.Width = width;
    }
    stored.List->SetColumns(columns);
}

} // namespace velmora
