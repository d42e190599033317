#include "window/qt/UQtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStringList>
#include <QStyle>

#include "window/qt/UQtControls.h"

namespace velmora {

namespace {

// The program's texts break lines with a carriage return alone; Qt needs a line feed.
QString MessageText(const std::string& text)
{
    QString q = ToQString(text);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return q;
}

QMessageBox::Icon ToQtIcon(TMsgIcon icon)
{
    switch (icon) {
    case TMsgIcon::Error: return QMessageBox::Critical;
    case TMsgIcon::Information: return QMessageBox::Information;
    case TMsgIcon::Question: return QMessageBox::Question;
    case TMsgIcon::Warning: return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

// Shows the box made wide enough for its whole title beside the window
// manager's icon and buttons (a box sizes itself to its text only, and a short
// text under a long title had the title cut).
int Exec(QMessageBox& box)
{
    const int titleBar = box.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 5 * titleBar;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
    return box.exec();
}

QString DefaultSuffix(const std::string& ext)
{
    QString q = ToQString(ext);
    while (q.startsWith(QLatin1Char('*')) || q.startsWith(QLatin1Char('.')))
        q.remove(0, 1);
    return q;
}

// A file dialog with the settings both kinds share.
void Prepare(QFileDialog& dialog, const TFileDialogSettings& settings)
{
    dialog.setWindowTitle(ToQString(settings.Title));
    dialog.setNameFilter(ToQtFilter(settings.Filter));
    dialog.setDefaultSuffix(DefaultSuffix(settings.DefaultExt));
    if (!settings.InitialDir.empty())
        dialog.setDirectory(ToQString(settings.InitialDir));
    if (!settings.FileName.empty())
        dialog.selectFile(ToQString(settings.FileName));
    dialog.setOption(QFileDialog::ReadOnly, false);
}

} // namespace

QString ToQtFilter(const std::string& filter)
{
    QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString name = parts[i];
        // A description that already shows its patterns keeps them once.
        int open = static_cast<int>(name.indexOf(QLatin1Char('(')));
        if (open > 0)
            name = name.left(open).trimmed();
        filters << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

void TQtMessageBoxes::ShowMessage(const std::string& caption, const std::string& text, TMsgIcon icon)
{
    QMessageBox box(ToQtIcon(icon), ToQString(caption), MessageText(text), QMessageBox::Ok, QApplication::activeWindow());
    Exec(box);
}

bool TQtMessageBoxes::AskYesNo(const std::string& caption, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, ToQString(caption), MessageText(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    return Exec(box) == QMessageBox::Yes;
}

TYesNoCancel TQtMessageBoxes::AskYesNoCancel(const std::string& caption, const std::string& text)
{
    QMessageBox box(QMessageBox::Question, ToQString(caption), MessageText(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QApplication::activeWindow());
    switch (Exec(box)) {
    case QMessageBox::Yes: return TYesNoCancel::Yes;
    case QMessageBox::No: return TYesNoCancel::No;
    default: return TYesNoCancel::Cancel; // Escape and the close box too
    }
}

TOverwriteAnswer TQtMessageBoxes::AskOverwrite(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), MessageText(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    QPushButton* noToAll = box.addButton(QMessageBox::NoToAll);
    QPushButton* yesToAll = box.addButton(QMessageBox::YesToAll);
    Exec(box);
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == yes)
        return TOverwriteAnswer::Yes;
    if (clicked == no)
        return TOverwriteAnswer::No;
    if (clicked == noToAll)
        return TOverwriteAnswer::NoToAll;
    if (clicked == yesToAll)
        return TOverwriteAnswer::YesToAll;
    return TOverwriteAnswer::Closed;
}

bool TQtFileDialogs::ExecuteOpen(const TFileDialogSettings& settings, std::vector<std::string>& files)
{
    QFileDialog dialog(QApplication::activeWindow());
    Prepare(dialog, settings);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (settings.MultiSelect)
        dialog.setFileMode(QFileDialog::ExistingFiles);
    else
        dialog.setFileMode(settings.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    files.clear();
    for (const QString& f : dialog.selectedFiles())
        files.push_back(ToStdString(f));
    return !files.empty();
}

bool TQtFileDialogs::ExecuteSave(const TFileDialogSettings& settings, std::string& file)
{
    QFileDialog dialog(QApplication::activeWindow());
    Prepare(dialog, settings);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.OverwritePrompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    file = ToStdString(dialog.selectedFiles().front());
    return true;
}

bool TQtFileDialogs::ExecuteColor(TColor initial, TColor& chosen)
{
    QColor color = QColorDialog::getColor(ToQColor(initial), QApplication::activeWindow());
    if (!color.isValid())
        return false;
    chosen = FromQColor(color);
    return true;
}

bool TQtFileDialogs::BrowseFolder(const std::string& title, const std::string& initialDir, std::string& folder)
{
    QString dir = QFileDialog::getExistingDirectory(QApplication::activeWindow(), ToQString(title), ToQString(initialDir));
    if (dir.isEmpty())
        return false;
    folder = ToStdString(dir);
    return true;
}

} // namespace velmora
