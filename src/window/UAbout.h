// The About box: who wrote the program, its logo, a contact address that opens
// the mail program, and the version. A new box is made for every showing.
#pragma once

#include <functional>
#include <string>

#include <QDialog>

class QKeyEvent;
class QLabel;

namespace velmora {

class TfrmAbout : public QDialog {
public:
    // Hands an address to the desktop; the box passes "mailto:" and the contact address.
    using TOpenUrl = std::function<void(const std::string& url)>;

    explicit TfrmAbout(TOpenUrl openUrl, QWidget* parent = nullptr);

    // A click on the contact address.
    void lblEmailClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TOpenUrl FOpenUrl;
    QLabel* FEmail;
};

} // namespace velmora
