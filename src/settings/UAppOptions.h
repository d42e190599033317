// The general options of a profile: how names are matched when highlighting,
// how the text of dump lines reaches the page, and the style of the page.
#pragma once

#include <cstdint>

#include "shared/UGenDeclarations.h"

namespace velmora {

class ICheckControl;
class IComboBox;

// What a page does with the game's colour codes ("^" and a letter or digit)
// in dump text. The values are stored in profile files.
enum class TColorCodes : std::uint8_t {
    Keep = 0,   // written as they stand
    Remove = 1, // left out
    Colors = 2, // each starts a run of text in its colour
};

// The look of the pages: today's page, or the modern page in UTF-8 with line
// kinds, line links and an optional index. Stored in profile files.
enum class TPageStyle : std::uint8_t {
    Classic = 0,
    Modern = 1,
};

// Which dump lines a modern page keeps. Stored in profile files.
enum class TKeepLines : std::uint8_t {
    All = 0,    // every line
    Events = 1, // chat, team chat, private messages, kills and players' comings and goings
    Chat = 2,   // chat, team chat and private messages
};

class TAppOptions : public TOptionClass {
public:
    explicit TAppOptions(TSettingsAction* settingsAction) : FSettingsAction(settingsAction) {}

    // A null control leaves the bound one as it was; nothing is shown.
    void BindControls(ICheckControl* caseCheck, ICheckControl* escapeCheck = nullptr,
                      IComboBox* colorCodesCombo = nullptr);
    // The page style options' controls, in the same way.
    void BindPageStyleControls(IComboBox* pageStyleCombo, IComboBox* keepLinesCombo, ICheckControl* writeIndexCheck,
                               ICheckControl* playerStatsCheck);
    // Each setter touches its control only when it does not already show the value.
    // SetCaseSensitive stores the flag (set: highlighting ignores case).
    void SetCaseSensitive(bool value);
    void SetEscapeText(bool value);
    void SetColorCodes(TColorCodes value);
    // The index page and the player stats belong to modern pages: their check
    // boxes are enabled exactly while the style is Modern.
    void SetPageStyle(TPageStyle value);
    void SetKeepLines(TKeepLines value);
    void SetWriteIndex(bool value);
    void SetPlayerStats(bool value);
    // The check box reads "Case sensitive highlighting": it is ticked exactly
    // when the search is exact, the opposite of the stored flag. These two are
    // the only place where box and flag meet; the window calls
    // SetCaseCheckTicked when the user ticks or clears the box.
    bool CaseCheckTicked() const { return !FCaseSensitive; }
    void SetCaseCheckTicked(bool ticked) { SetCaseSensitive(!ticked); }

    // The section holds the case byte, then each dump text and page style
    // option that is not at its default as a tagged record, so that a profile
    // with all of them at their defaults is written as by earlier versions,
    // and records of later options are skipped.
    // Reads to the end of the stream: the caller gives it the section alone.
    void LoadFromStream(TProfileReader& stream) override;
    void SaveToStream(TProfileWriter& stream) const override;

    // Set: highlighting ignores letter case; clear: it compares exactly. The
    // name is the one profile files have always used for it.
    bool FCaseSensitive = false;
    // Set: "&", "<", ">" and double quotes of dump lines become character references.
    bool FEscapeText = false;
    TColorCodes FColorCodes = TColorCodes::Keep;
    TPageStyle FPageStyle = TPageStyle::Classic;
    // The next three only count for modern pages.
    TKeepLines FKeepLines = TKeepLines::All;
    // Set: after a run, index.htm in the destination directory lists its modern pages.
    bool FWriteIndex = false;
    // Set: a page counts what each player said and did.
    bool FPlayerStats = false;
    TSettingsAction* FSettingsAction; // not owned

private:
    ICheckControl* FCaseCheck = nullptr;   // not owned
    ICheckControl* FEscapeCheck = nullptr; // not owned
    IComboBox* FColorCodesCombo = nullptr; // not owned
    IComboBox* FPageStyleCombo = nullptr;      // not owned
    IComboBox* FKeepLinesCombo = nullptr;      // not owned
    ICheckControl* FWriteIndexCheck = nullptr; // not owned
    ICheckControl* FPlayerStatsCheck = nullptr; // not owned
};

} // namespace velmora
