#include "settings/UHTMLOptions.h"

#include "platform/UControls.h"
#include "shared/UProfileStream.h"

namespace velmora {

THTMLOptions::THTMLOptions(TSettingsAction* settingsAction)
    : FSettingsAction(settingsAction), FBackColor(DefaultBackColor), FTextColor(DefaultTextColor),
      FLinkColor(DefaultLinkColor), FVisLinkColor(DefaultVisitedLinkColor)
{
}

void THTMLOptions::BindControls(ITextControl* titleEdit, ITextControl* authorEdit, ITextControl* backImageEdit,
                                ICheckControl* relImagesCheck, ICheckControl* brokenLinesCheck,
                                ITextControl* frontPageMemo, ITextControl* endPageMemo,
                                IColorControl* backSwatch, IColorControl* textSwatch, IColorControl* linkSwatch,
                                IColorControl* visLinkSwatch)
{
    FTitleEdit = titleEdit;
    FAuthorEdit = authorEdit;
    FBackImageEdit = backImageEdit;
    FRelImagesCheck = relImagesCheck;
    FBrokenLinesCheck = brokenLinesCheck;
    FFrontPageMemo = frontPageMemo;
    FEndPageMemo = endPageMemo;
    FBackSwatch = backSwatch;
    FTextSwatch = textSwatch;
    FLinkSwatch = linkSwatch;
    FVisLinkSwatch = visLinkSwatch;
    UpdateControls();
}

void THTMLOptions::UpdateControls()
{
    SetBackColor(FBackColor);
    SetTextColor(FTextColor);
    SetLinkColor(FLinkColor);
    SetVisLinkColor(FVisLinkColor);
    SetBackImage(FBackImage);
    SetTitle(FTitle);
    SetAuthor(FAuthor);
    SetFrontPageHTML(FFrontPageHTML);
    SetEndPageHTML(FEndPageHTML);
    SetRelImages(FRelImages);
    SetBrokenLines(FBrokenLines);
}

void THTMLOptions::SetBackColor(TColor value) { FBackColor = value; Show(FBackSwatch, value); }
void THTMLOptions::SetTextColor(TColor value) { FTextColor = value; Show(FTextSwatch, value); }
void THTMLOptions::SetLinkColor(TColor value) { FLinkColor = value; Show(FLinkSwatch, value); }
void THTMLOptions::SetVisLinkColor(TColor value) { FVisLinkColor = value; Show(FVisLinkSwatch, value); }
void THTMLOptions::SetBackImage(const std::string& value) { FBackImage = value; Show(FBackImageEdit, value); }
void THTMLOptions::SetTitle(const std::string& value) { FTitle = value; Show(FTitleEdit, value); }
void THTMLOptions::SetAuthor(const std::string& value) { FAuthor = value; Show(FAuthorEdit, value); }
void THTMLOptions::SetFrontPageHTML(const std::string& value) { FFrontPageHTML = value; Show(FFrontPageMemo, value); }
void THTMLOptions::SetEndPageHTML(const std::string& value) { FEndPageHTML = value; Show(FEndPageMemo, value); }
void THTMLOptions::SetRelImages(bool value) { FRelImages = value; Show(FRelImagesCheck, value); }
void THTMLOptions::SetBrokenLines(bool value) { FBrokenLines = value; Show(FBrokenLinesCheck, value); }

// Section layout: four colours, broken lines, relative images (the reverse of
// their order here), then background image, front HTML, end HTML, title, author.
void THTMLOptions::LoadFromStream(TProfileReader& stream)
{
    TColor back = stream.ReadInt32();
    TColor text = stream.ReadInt32();
    TColor link = stream.ReadInt32();
    TColor visLink = stream.ReadInt32();
    SetBackColor(back);
    SetTextColor(text);
    SetLinkColor(link);
    SetVisLinkColor(visLink);
    bool brokenLines = stream.ReadBool();
    bool relImages = stream.ReadBool();
    SetBrokenLines(brokenLines);
    SetRelImages(relImages);
    SetBackImage(stream.ReadString());
    SetFrontPageHTML(stream.ReadString());
    SetEndPageHTML(stream.ReadString());
    SetTitle(stream.ReadString());
    SetAuthor(stream.ReadString());
}

void THTMLOptions::SaveToStream(TProfileWriter& stream) const
{
    stream.WriteInt32(FBackColor);
    stream.WriteInt32(FTextColor);
    stream.WriteInt32(FLinkColor);
    stream.WriteInt32(FVisLinkColor);
    stream.WriteBool(FBrokenLines);
    stream.WriteBool(FRelImages);
    stream.WriteString(FBackImage);
    stream.WriteString(FFrontPageHTML);
    stream.WriteString(FEndPageHTML);
    stream.WriteString(FTitle);
    stream.WriteString(FAuthor);
}

} // namespace velmora
