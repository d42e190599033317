// The About box's logic: its texts, the contact address that opens the mail
// program, and its remembered position. A front end draws the box (black,
// logo, fixed size) and forwards its show, click and close to this class.
#pragma once

#include <functional>
#include <string>

#include "platform/UControls.h"
#include "window/UFormPlacement.h"

namespace velmora {

class TfrmAbout {
public:
    // Hands an address to the desktop; the box passes "mailto:" and the contact address.
    using TOpenUrl = std::function<void(const std::string& url)>;

    static constexpr const char* Caption = "About : Velmora ";
    static constexpr const char* WrittenBy = "Written by";
    static constexpr const char* AuthorName = VELMORA_AUTHOR_NAME;
    static constexpr const char* ContactAddress = VELMORA_CONTACT_ADDRESS;
    static constexpr const char* VersionCaption = "Version";
    static constexpr const char* Version = VELMORA_VERSION;
    static constexpr const char* CloseCaption = "&Close";
    static constexpr int ClientWidth = 281;
    static constexpr int ClientHeight = 322;

    // window: the box's placement; email: the label that shows the contact
    // address (both not owned, outliving the box). iniFileName: the settings
    // file that remembers the position (the main window's); empty: the position
    // is neither restored nor saved. Raises std::invalid_argument without a URL opener.
    TfrmAbout(IWindowPlacement& window, const ITextControl& email, TOpenUrl openUrl, const std::string& iniFileName);

    // The box is being shown: the first time at its remembered position.
    void FormShow();
    // A click on the contact address: "mailto:" and the label's text go to the desktop.
    void lblEmailClick();
    // The box closes: its position is saved.
    void FormClose();

private:
    const ITextControl& FEmail;
    TOpenUrl FOpenUrl;
    TFormPlacement FFormPlacement;
};

} // namespace velmora
