#include "window/UAbout.h"

#include <stdexcept>

namespace velmora {

TfrmAbout::TfrmAbout(IWindowPlacement& window, const ITextControl& email, TOpenUrl openUrl,
                     const std::string& iniFileName)
    : FEmail(email), FOpenUrl(std::move(openUrl)),
      FFormPlacement(window, "About Placement", TFormPlacement::TRestore::PositionOnly)
{
    if (!FOpenUrl)
        throw std::invalid_argument("the About box needs a URL opener");
    FFormPlacement.SetIniFileName(iniFileName);
}

void TfrmAbout::FormShow()
{
    FFormPlacement.WindowShown();
}

void TfrmAbout::lblEmailClick()
{
    // Whether a mail program answers is the desktop's business.
    FOpenUrl("mailto:" + FEmail.GetText());
}

void TfrmAbout::FormClose()
{
    FFormPlacement.Save();
}

} // namespace velmora
