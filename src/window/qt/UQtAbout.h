// The About box's Qt front end: the author, the logo, the contact address
// that opens the mail program, and the version, drawn on black at fixed
// positions. Its behaviour is the logic's (TfrmAbout); a new box is made for
// every showing.
#pragma once

#include <memory>
#include <string>

#include <QDialog>

#include "window/UAbout.h"

class QKeyEvent;

namespace velmora {

class TQtLabelText;
class TQtWindowPlacement;

class TQtAboutBox : public QDialog {
public:
    // iniFileName: the settings file that remembers the box's position (the
    // main window's); empty: the position is neither restored nor saved.
    TQtAboutBox(TfrmAbout::TOpenUrl openUrl, const std::string& iniFileName, QWidget* parent = nullptr);
    ~TQtAboutBox() override;

    // Closing saves the position.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<TQtWindowPlacement> FPlacementWindow;
    std::unique_ptr<TQtLabelText> FEmailText;
    std::unique_ptr<TfrmAbout> FAbout;
};

} // namespace velmora
