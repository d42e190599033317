// Remembers where a window was: its position (and for the main window its
// size, state and the file list's columns) in one section of the settings file.
// Restored when the window is first shown, saved when the window closes (the
// owner calls Save) or, failing that, when the placement object is destroyed.
// A restored window whose title bar would be out of reach (another screen
// setup, a panel over it) is moved into its screen's work area.
#pragma once

#include <string>
#include <vector>

#include "platform/UControls.h"

namespace velmora {

class TIniFile;

class TFormPlacement {
public:
    enum class TRestore {
        StateAndPosition, // the main window: position, size and normal/minimised/maximised
        PositionOnly,     // a box that cannot be resized: its left and top only
    };

    // window: not owned, outlives this object. Nothing is read before a settings file is given.
    TFormPlacement(IWindowPlacement& window, std::string section, TRestore restore);
    ~TFormPlacement();
    TFormPlacement(const TFormPlacement&) = delete;
    TFormPlacement& operator=(const TFormPlacement&) = delete;

    void SetIniFileName(const std::string& fileName) { FIniFileName = fileName; }
    const std::string& IniFileName() const { return FIniFileName; }
    const std::string& Section() const { return FSection; }

    // Also remembers the columns of list (not owned), under its name (as "<name>_Columns").
    void StoreColumns(IListColumns& list, const std::string& name);

    // The window is being shown; the first time, what the settings file holds is applied.
    void WindowShown();
    void Restore();
    // Writes the placement; false when the settings file could not be written.
    // "Visible" is written as 1 only for a save at destruction.
    bool Save(bool destroying = false);

private:
    struct TStoredList {
        IListColumns* List; // not owned
        std::string Name;
    };

    TWindowBounds Reachable(const TWindowBounds& bounds) const;
    void RestoreColumns(const TIniFile& ini, const TStoredList& stored) const;
    void SaveColumns(TIniFile& ini, const TStoredList& stored) const;
    std::string ScreenSuffix() const;

    IWindowPlacement& FWindow;
    std::string FSection;
    TRestore FRestore;
    std::string FIniFileName;
    std::vector<TStoredList> FLists;
    int FFlags = 0;
    bool FShown = false;
    bool FSaved = false;
};

} // namespace velmora
