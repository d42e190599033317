// The page options of a profile: colours, background image, custom HTML,
// title, author, relative image references and the joining of broken lines.
#pragma once

#include <string>

#include "shared/UGenDeclarations.h"

namespace velmora {

class ITextControl;
class ICheckControl;
class IColorControl;

class THTMLOptions : public TOptionClass {
public:
    explicit THTMLOptions(TSettingsAction* settingsAction);

    void BindControls(ITextControl* titleEdit, ITextControl* authorEdit, ITextControl* backImageEdit,
                      ICheckControl* relImagesCheck, ICheckControl* brokenLinesCheck,
                      ITextControl* frontPageMemo, ITextControl* endPageMemo, IColorControl* backSwatch,
                      IColorControl* textSwatch, IColorControl* linkSwatch, IColorControl* visLinkSwatch);
    // Shows every value in its bound control.
    void UpdateControls();

    void SetBackColor(TColor value);
    void SetTextColor(TColor value);
    void SetLinkColor(TColor value);
    void SetVisLinkColor(TColor value);
    void SetBackImage(const std::string& value);
    void SetTitle(const std::string& value);
    void SetAuthor(const std::string& value);
    void SetFrontPageHTML(const std::string& value);
    void SetEndPageHTML(const std::string& value);
    void SetRelImages(bool value);
    void SetBrokenLines(bool value);

    void LoadFromStream(TProfileReader& stream) override;
    void SaveToStream(TProfileWriter& stream) const override;

    TSettingsAction* FSettingsAction; // not owned
    TColor FBackColor;
    TColor FTextColor;
    TColor FLinkColor;
    TColor FVisLinkColor;
    std::string FBackImage;
    std::string FFrontPageHTML;
    std::string FEndPageHTML;
    std::string FTitle = "Quake 3 Arena Console Dump";
    std::string FAuthor;
    bool FRelImages = true;
    bool FBrokenLines = false;

private:
    // Bound controls, not owned.
    ITextControl* FTitleEdit = nullptr;
    ITextControl* FAuthorEdit = nullptr;
    ITextControl* FBackImageEdit = nullptr;
    ICheckControl* FRelImagesCheck = nullptr;
    ICheckControl* FBrokenLinesCheck = nullptr;
    ITextControl* FFrontPageMemo = nullptr;
    ITextControl* FEndPageMemo = nullptr;
    IColorControl* FBackSwatch = nullptr;
    IColorControl* FTextSwatch = nullptr;
    IColorControl* FLinkSwatch = nullptr;
    IColorControl* FVisLinkSwatch = nullptr;
};

} // namespace velmora
