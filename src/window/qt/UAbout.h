// The About box: who wrote the program, its logo, a contact address that opens
// the mail program, and the version. A new box is made for every showing.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QDialog>

class QKeyEvent;
class QLabel;

namespace velmora {

class TFormPlacement;
class TQtWindowPlacement;

class TfrmAbout : public QDialog {
public:
    // Hands an address to the desktop; the box passes "mailto:" and the contact address.
    using TOpenUrl = std::function<void(const std::string& url)>;

    // iniFileName: the settings file that remembers the box's position (the
    // main window's); empty: the position is neither restored nor saved.
    TfrmAbout(TOpenUrl openUrl, const std::string& iniFileName, QWidget* parent = nullptr);
    ~TfrmAbout() override;

    // A click on the contact address.
    void lblEmailClick();

    // Closing saves the position.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TOpenUrl FOpenUrl;
    QLabel* FEmail;
    std::unique_ptr<TQtWindowPlacement> FPlacementWindow;
    std::unique_ptr<TFormPlacement> FFormPlacement;
};

} // namespace velmora
