#include "window/qt/UFormPlacement.h"

#include <algorithm>
#include <cstdio>

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeWidget>
#include <QWidget>

#include "platform/UIniFile.h"
#include "shared/UGenDeclarations.h"
#include "window/qt/UQtControls.h"

namespace velmora {

namespace {

// Show commands as the settings file has always stored them.
constexpr int ShowNormal = 1;
constexpr int ShowMinimized = 2;
constexpr int ShowMaximized = 3;

// A default no stored value can have: values are single lines.
const std::string Missing = "\n";

struct TFourInts {
    int Value[4];
};

// "%d,%d,%d,%d"; a number that is missing keeps the value given.
TFourInts ParseFour(const std::string& text, TFourInts values)
{
    std::size_t start = 0;
    for (int& v : values.Value) {
        if (start > text.size())
            break;
        std::size_t comma = text.find(',', start);
        std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        try {
            std::size_t used = 0;
            int n = std::stoi(part, &used);
            if (used > 0)
                v = n;
        } catch (const std::exception&) {
            // Not a number: the value given stays.
        }
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return values;
}

std::string FormatFour(int a, int b, int c, int d)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d,%d,%d,%d", a, b, c, d);
    return buffer;
}

const char* AlignmentName(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return "taCenter";
    if (alignment & Qt::AlignRight)
        return "taRightJustify";
    return "taLeftJustify";
}

QScreen* ScreenOf(const QWidget* form)
{
    QScreen* screen = form->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

// Moves a rectangle that lies off every screen onto the form's screen, and
// gives it at least the form's minimum size.
QRect Corrected(const QWidget* form, QRect rect)
{
    rect.setWidth(std::max(rect.width(), form->minimumWidth()));
    rect.setHeight(std::max(rect.height(), form->minimumHeight()));
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(rect))
            return rect;
    }
    QScreen* screen = ScreenOf(form);
    if (screen)
        rect.moveTopLeft(screen->availableGeometry().topLeft());
    return rect;
}

} // namespace

TFormPlacement::TFormPlacement(QWidget* form, std::string section, TRestore restore)
    : FForm(form), FSection(std::move(section)), FRestore(restore)
{
    OnEvent(form, QEvent::Show, [this](QEvent*) {
        if (!FShown) {
            FShown = true;
            Restore();
        }
        return false;
    });
}

TFormPlacement::~TFormPlacement()
{
    if (FShown && !FSaved)
        Save(true);
}

void TFormPlacement::StoreColumns(QTreeWidget* list, const std::string& name)
{
    FLists.push_back({list, name});
}

std::string TFormPlacement::ScreenSuffix() const
{
    QScreen* screen = ScreenOf(FForm);
    QSize size = screen ? screen->geometry().size() : QSize();
    return "(" + std::to_string(size.width()) + "x" + std::to_string(size.height()) + ")";
}

int TFormPlacement::PixelsPerInch() const
{
    QScreen* screen = ScreenOf(FForm);
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

void TFormPlacement::Restore()
{
    if (FIniFileName.empty())
        return;
    TIniFile ini(FIniFileName);
    auto read = [&](const std::string& key) {
        std::string value = ini.ReadString(FSection, key + ScreenSuffix(), Missing);
        if (value == Missing || value.empty())
            value = ini.ReadString(FSection, key, Missing);
        return value == Missing ? std::string() : value;
    };

    FFlags = ini.ReadInteger(FSection, "Flags", FFlags);
    QRect current = FForm->geometry();
    TFourInts norm = ParseFour(read("NormPos"), {{current.left(), current.top(), current.left() + current.width(),
                                                  current.top() + current.height()}});
    int left = norm.Value[0], top = norm.Value[1], right = norm.Value[2], bottom = norm.Value[3];
    if (ini.ReadInteger(FSection, "PixelsPerInch", 0) == PixelsPerInch() && left < right) {
        if (FRestore == TRestore::PositionOnly)
            // Saved positions are those of the client area, as geometry() gives them
            // (move() would place the frame there and shift the box by its title bar).
            FForm->setGeometry(QRect(Corrected(FForm, QRect(left, top, current.width(), current.height())).topLeft(),
                                     current.size()));
        else
            FForm->setGeometry(Corrected(FForm, QRect(left, top, right - left, bottom - top)));
    }

    if (FRestore == TRestore::StateAndPosition) {
        switch (ini.ReadInteger(FSection, "ShowCmd", ShowNormal)) {
        case 2: case 6: case 7: FForm->setWindowState(Qt::WindowMinimized); break;
        case 3: FForm->setWindowState(Qt::WindowMaximized); break;
        default: FForm->setWindowState(Qt::WindowNoState); break;
        }
        for (const TStoredList& stored : FLists)
            RestoreColumns(ini, stored);
    }
}

bool TFormPlacement::Save(bool destroying)
{
    FSaved = true;
    if (FIniFileName.empty())
        return true;
    try {
        TIniFile ini(FIniFileName);
        int showCmd = FForm->isMinimized() ? ShowMinimized : FForm->isMaximized() ? ShowMaximized : ShowNormal;
        QRect normal = FForm->isMaximized() || FForm->isMinimized() ? FForm->normalGeometry() : FForm->geometry();
        if (!normal.isValid())
            normal = FForm->geometry();
        std::string minMax = FormatFour(-1, -1, -1, -1);
        std::string normPos = FormatFour(normal.left(), normal.top(), normal.left() + normal.width(),
                                         normal.top() + normal.height());
        ini.WriteInteger(FSection, "Flags", FFlags);
        ini.WriteInteger(FSection, "ShowCmd", showCmd);
        ini.WriteInteger(FSection, "PixelsPerInch", PixelsPerInch());
        ini.WriteString(FSection, "MinMaxPos" + ScreenSuffix(), minMax);
        ini.WriteString(FSection, "MinMaxPos", minMax);
        ini.WriteString(FSection, "NormPos" + ScreenSuffix(), normPos);
        ini.WriteString(FSection, "NormPos", normPos);
        ini.WriteInteger(FSection, "Visible", destroying ? 1 : 0);
        for (const TStoredList& stored : FLists)
            SaveColumns(ini, stored);
    } catch (const EGenException&) {
        // The settings file cannot be written; whoever saves the settings next reports it.
        return false;
    }
    return true;
}

// ---- Columns of a list ------------------------------------------------------

void TFormPlacement::SaveColumns(TIniFile& ini, const TStoredList& stored) const
{
    std::string columnSection = FSection + "." + stored.Name + "_Columns";
    ini.EraseSection(columnSection);
    QTreeWidget* list = stored.List;
    int count = list->columnCount();
    ini.WriteInteger(FSection, "Columns.Count", count);
    for (int i = 0; i < count; ++i) {
        std::string item = "Item" + std::to_string(i) + "_";
        bool autoSize = i == count - 1 && list->header()->stretchLastSection();
        ini.WriteString(columnSection, item + "Alignment",
                        AlignmentName(Qt::Alignment(list->headerItem()->textAlignment(i))));
        ini.WriteString(columnSection, item + "AutoSize", autoSize ? "True" : "False");
        ini.WriteString(columnSection, item + "Caption", ToStdString(list->headerItem()->text(i)).c_str());
        ini.WriteInteger(columnSection, item + "ImageIndex", -1);
        ini.WriteInteger(columnSection, item + "MaxWidth", 0);
        ini.WriteInteger(columnSection, item + "MinWidth", 0);
        ini.WriteInteger(columnSection, item + "Width", list->columnWidth(i));
    }
}

void TFormPlacement::RestoreColumns(const TIniFile& ini, const TStoredList& stored) const
{
    std::string columnSection = FSection + "." + stored.Name + "_Columns";
    QTreeWidget* list = stored.List;
    int count = ini.ReadInteger(FSection, "Columns.Count", list->columnCount());
    if (count < 1 || count > 64)
        return;
    if (count != list->columnCount())
        list->setColumnCount(count);
    for (int i = 0; i < count; ++i) {
        std::string item = "Item" + std::to_string(i) + "_";
        std::string alignment = ini.ReadString(columnSection, item + "Alignment", Missing);
        if (alignment == "taCenter")
            list->headerItem()->setTextAlignment(i, Qt::AlignHCenter | Qt::AlignVCenter);
        else if (alignment == "taRightJustify")
            list->headerItem()->setTextAlignment(i, Qt::AlignRight | Qt::AlignVCenter);
        else if (alignment == "taLeftJustify")
            list->headerItem()->setTextAlignment(i, Qt::AlignLeft | Qt::AlignVCenter);
        std::string caption = ini.ReadString(columnSection, item + "Caption", Missing);
        if (caption != Missing)
            list->headerItem()->setText(i, ToQString(caption));
        std::string autoSize = ini.ReadString(columnSection, item + "AutoSize", Missing);
        if (i == count - 1 && (autoSize == "True" || autoSize == "False"))
            list->header()->setStretchLastSection(autoSize == "True");
        int width = ini.ReadInteger(columnSection, item + "Width", -1);
        if (width > 0 && width < 100000 && !(i == count - 1 && list->header()->stretchLastSection()))
            list->setColumnWidth(i, width);
    }
}

} // namespace velmora
