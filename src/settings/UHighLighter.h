// A whole profile: the three option groups and the ordered list of names to
// highlight, with the editing operations of the names editor and the profile file.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UPlatform.h"
#include "settings/UAppOptions.h"
#include "settings/UHTMLOptions.h"
#include "settings/UIOOptions.h"
#include "shared/UGenDeclarations.h"

namespace velmora {

class ICommand;
class IColorControl;
class IListBox;
class ITextControl;

// One name to highlight with its attributes. A profile gives every item an
// Info; the page writer still copes with an item that has none.
struct TNameItem {
    std::string Name;
    std::unique_ptr<THighLightInfo> Info;
};
using TNamesList = std::vector<TNameItem>;

class THighlightProfile {
public:
    THighlightProfile(TSettingsAction* settingsAction, const TPlatform& platform);
    ~THighlightProfile();
    THighlightProfile(const THighlightProfile&) = delete;
    THighlightProfile& operator=(const THighlightProfile&) = delete;

    THTMLOptions& HTMLOptions() { return *FHTMLOptions; }
    TAppOptions& AppOptions() { return *FAppOptions; }
    TIOOptions& IOOptions() { return *FIOOptions; }
    TNamesList& Names() { return FNames; }
    const TNamesList& Names() const { return FNames; }

    void BindControls(IListBox* namesList, ITextControl* nameEdit, ITextControl* imageEdit,
                      IColorControl* colorSwatch, ITextControl* htmlBeforeMemo, ITextControl* htmlAfterMemo,
                      ICommand* removeCommand, ICommand* updateCommand);

    // Adds the name at the end, or updates the item of the same name (ignoring case).
    void AddName(const std::string& name, const std::string& imageFile, const std::string& htmlBefore,
                 const std::string& htmlAfter, TColor color);
    void UpdateName(const std::string& name, const std::string& imageFile, const std::string& htmlBefore,
                    const std::string& htmlAfter, TColor color, int index);
    void RemoveName(int index);
    // Shows the selected item in the editor controls.
    void ShowSelectedName();
    // Refills the names list box from the names, keeping the selected row.
    void UpdateNamesList();

    // The profile file; failures show their message box and return false.
    bool LoadFromFile(const std::string& fileName);
    bool SaveToFile(const std::string& fileName);
    // The same for the file's bytes in memory: LoadFromFile decodes what it
    // read with LoadFromData; SaveToFile writes what SaveToData builds
    // (which raises EGenException for a profile too large for the format).
    bool LoadFromData(std::string_view data);
    std::string SaveToData() const;
    void LoadNames(TProfileReader& stream);
    void SaveNames(TProfileWriter& stream) const;

private:
    // Raises on the first field or offset that the data cannot hold.
    void DecodeSections(std::string_view data);
    // Shows the names after an addition: the last row selected, the profile changed.
    void ShowAddedName();

    TPlatform FPlatform;
    std::unique_ptr<THTMLOptions> FHTMLOptions;
    std::unique_ptr<TAppOptions> FAppOptions;
    TNamesList FNames;
    std::unique_ptr<TIOOptions> FIOOptions;
    TSettingsAction* FSettingsAction; // not owned

    // Controls of the names editor, not owned.
    IListBox* FNamesList = nullptr;
    ITextControl* FNameEdit = nullptr;
    ITextControl* FImageEdit = nullptr;
    IColorControl* FColorSwatch = nullptr;
    ITextControl* FHTMLBeforeMemo = nullptr;
    ITextControl* FHTMLAfterMemo = nullptr;
    ICommand* FRemoveCommand = nullptr;
    ICommand* FUpdateCommand = nullptr;
};

} // namespace velmora
