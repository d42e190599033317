// The About box's controls, drawn on black at fixed positions.
#include "window/qt/UQtAbout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "window/qt/UJpegImage.h"
#include "window/qt/ULogo.h"
#include "window/qt/UQtControls.h"

namespace velmora {

namespace {

constexpr int ClientWidth = TfrmAbout::ClientWidth;
constexpr int ClientHeight = TfrmAbout::ClientHeight;

const QColor Aqua(0x00, 0xFF, 0xFF);
const QColor Yellow(0xFF, 0xFF, 0x00);
const QColor ShadowBlue(0x00, 0x00, 0xFF);

// A label whose text carries a blue shadow one pixel up and to the left.
class TShadowLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(ShadowBlue);
        painter.drawText(rect().translated(-1, -1), static_cast<int>(alignment()), text());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), static_cast<int>(alignment()), text());
    }
};

// A label that acts as a link: hand-shaped pointer, runs an action when clicked.
class TLinkLabel : public QLabel {
public:
    TLinkLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
        : QLabel(text, parent), FOnClick(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            FOnClick();
    }

private:
    std::function<void()> FOnClick;
};

void SetLook(QWidget* widget, const QColor& color, int pointSize, bool bold = false, bool underline = false)
{
    QFont font = widget->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    widget->setFont(font);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

// A label across the whole width, its text centred.
QLabel* CentredLabel(QLabel* label, const char* name, int top, int height)
{
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(0, top, ClientWidth, height);
    return label;
}

} // namespace

TQtAboutBox::TQtAboutBox(TfrmAbout::TOpenUrl openUrl, const std::string& iniFileName, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      FPlacementWindow(std::make_unique<TQtWindowPlacement>(this))
{
    setObjectName("frmAbout");
    setWindowTitle(TfrmAbout::Caption);
    setFixedSize(ClientWidth, ClientHeight);
    setFont(QFont("MS Sans Serif", 8));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Aqua);
    setPalette(palette);
    setAutoFillBackground(true);

    SetLook(CentredLabel(new QLabel(TfrmAbout::WrittenBy, this), "lblAboutName", 6, 24), Yellow, 12, true);
    SetLook(CentredLabel(new TShadowLabel(TfrmAbout::AuthorName, this), "lblAuthName", 30, 28), Aqua, 14);

    // The picture control takes the logo's size; a logo that cannot be read
    // leaves it empty.
    auto* logo = new QLabel(this);
    logo->setObjectName("LogoImg");
    QImage image = DecodeJpeg(LogoJpeg());
    logo->setPixmap(QPixmap::fromImage(image));
    logo->setGeometry((ClientWidth - 249) / 2, 62, 249, 187);
    if (!image.isNull())
        logo->resize(image.size());

    auto* email = new TLinkLabel(TfrmAbout::ContactAddress, this, [this] { FAbout->lblEmailClick(); });
    SetLook(CentredLabel(email, "lblEmail", 256, 20), Aqua, 8, false, true);
    FEmailText = std::make_unique<TQtLabelText>(email);

    auto* versionText = new QLabel(TfrmAbout::VersionCaption, this);
    versionText->setObjectName("lblVertxt");
    versionText->setGeometry(16, 290, 48, 20);
    auto* version = new QLabel(TfrmAbout::Version, this);
    version->setObjectName("lblVersion");
    version->setGeometry(66, 290, 100, 20);

    auto* close = new QPushButton(TfrmAbout::CloseCaption, this);
    close->setObjectName("BtnCloseAbout");
    close->setGeometry(ClientWidth - 16 - 80, 286, 80, 27);
    close->setDefault(true);
    close->setFocus();
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    FAbout = std::make_unique<TfrmAbout>(*FPlacementWindow, *FEmailText, std::move(openUrl), iniFileName);
    OnEvent(this, QEvent::Show, [this](QEvent*) {
        FAbout->FormShow();
        return false;
    });
}

TQtAboutBox::~TQtAboutBox()
{
    // The logic goes first: its placement still reads the box's geometry.
    FAbout.reset();
}

void TQtAboutBox::done(int result)
{
    FAbout->FormClose();
    QDialog::done(result);
}

void TQtAboutBox::keyPressEvent(QKeyEvent* event)
{
    // The box has no cancel button: only "Close" closes it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace velmora
