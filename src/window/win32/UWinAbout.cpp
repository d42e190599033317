#include "window/win32/UWinAbout.h"

#include <memory>
#include <vector>

#include "platform/UText.h"
#include "window/win32/UWinControls.h"
#include "window/win32/UWinDialogs.h"
#include "window/win32/UWinJpegImage.h"
#include "window/win32/ULogo.h"

namespace velmora {

namespace {

constexpr COLORREF Aqua = RGB(0x00, 0xFF, 0xFF);
constexpr COLORREF Yellow = RGB(0xFF, 0xFF, 0x00);
constexpr COLORREF ShadowBlue = RGB(0x00, 0x00, 0xFF);
constexpr SIZE LogoSize{249, 187};

// Everything one showing of the box holds; made at WM_INITDIALOG.
struct TAboutBox {
    TfrmAbout::TOpenUrl OpenUrl;
    std::string IniFileName;
    std::vector<HFONT> Fonts;
    HBITMAP Logo = nullptr;
    SIZE LogoPixels{};
    HWND Written = nullptr, Author = nullptr, LogoImg = nullptr, Email = nullptr;
    std::unique_ptr<TWinWindowPlacement> Placement;
    std::unique_ptr<TWinText> EmailText;
    std::unique_ptr<TfrmAbout> About;

    ~TAboutBox()
    {
        for (HFONT font : Fonts)
            DeleteObject(font);
        if (Logo)
            DeleteObject(Logo);
    }
};

HWND AddStatic(HWND box, const char* text, DWORD style, RECT design, HFONT font, int dpi)
{
    HWND label = CreateWindowExW(0, L"STATIC", WideText(text).c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style,
                                 Scale(design.left, dpi), Scale(design.top, dpi), Scale(design.right - design.left, dpi),
                                 Scale(design.bottom - design.top, dpi), box, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return label;
}

void Create(HWND box, TAboutBox& a)
{
    const int dpi = WindowDpi(box);
    const int width = TfrmAbout::ClientWidth;
    auto font = [&](int points, bool bold = false, bool underline = false) {
        a.Fonts.push_back(MessageFont(dpi, points, bold, underline));
        return a.Fonts.back();
    };
    SetWindowTextW(box, WideText(TfrmAbout::Caption).c_str());
    const HFONT normal = font(8);
    a.Written = AddStatic(box, TfrmAbout::WrittenBy, SS_CENTER, {0, 6, width, 30}, font(12, true), dpi);
    a.Author = AddStatic(box, TfrmAbout::AuthorName, SS_OWNERDRAW, {0, 30, width, 58}, font(14), dpi);
    // The picture control takes the logo's size; a logo that cannot be read leaves it empty.
    a.Logo = DecodeJpeg(LogoJpeg(), a.LogoPixels);
    const SIZE logo = a.Logo ? a.LogoPixels : LogoSize;
    const int logoLeft = (width - static_cast<int>(logo.cx)) / 2;
    a.LogoImg = AddStatic(box, "", SS_OWNERDRAW, {logoLeft, 62, logoLeft + logo.cx, 62 + logo.cy}, normal, dpi);
    a.Email = AddStatic(box, TfrmAbout::ContactAddress, SS_CENTER | SS_NOTIFY, {0, 256, width, 276},
                        font(8, false, true), dpi);
    AddStatic(box, TfrmAbout::VersionCaption, SS_LEFT, {16, 292, 64, 310}, normal, dpi);
    AddStatic(box, TfrmAbout::Version, SS_LEFT, {66, 292, 166, 310}, normal, dpi);
    HWND close = CreateWindowExW(0, L"BUTTON", WideText(TfrmAbout::CloseCaption).c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, Scale(width - 16 - 80, dpi),
                                 Scale(286, dpi), Scale(80, dpi), Scale(27, dpi), box,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(close, WM_SETFONT, reinterpret_cast<WPARAM>(normal), FALSE);
    SizeAndCentre(box, {Scale(width, dpi), Scale(TfrmAbout::ClientHeight, dpi)});

    a.Placement = std::make_unique<TWinWindowPlacement>(box, SIZE{0, 0});
    a.EmailText = std::make_unique<TWinText>(a.Email);
    a.About = std::make_unique<TfrmAbout>(*a.Placement, *a.EmailText, a.OpenUrl, a.IniFileName);
    a.About->FormShow();
    SetFocus(close);
}

void Draw(const TAboutBox& a, const DRAWITEMSTRUCT& item)
{
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (item.hwndItem == a.LogoImg && a.Logo) {
        HDC source = CreateCompatibleDC(item.hDC);
        HGDIOBJ old = SelectObject(source, a.Logo);
        SetStretchBltMode(item.hDC, HALFTONE);
        StretchBlt(item.hDC, 0, 0, item.rcItem.right, item.rcItem.bottom, source, 0, 0, a.LogoPixels.cx,
                   a.LogoPixels.cy, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    } else if (item.hwndItem == a.Author) {
        // Aqua on black with a blue shadow one pixel up and to the left.
        std::wstring text = WideText(TfrmAbout::AuthorName);
        HGDIOBJ old = SelectObject(item.hDC, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
        SetBkMode(item.hDC, TRANSPARENT);
        RECT shadow = item.rcItem;
        OffsetRect(&shadow, -1, -1);
        const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
        SetTextColor(item.hDC, ShadowBlue);
        DrawTextW(item.hDC, text.c_str(), -1, &shadow, format);
        SetTextColor(item.hDC, Aqua);
        RECT all = item.rcItem;
        DrawTextW(item.hDC, text.c_str(), -1, &all, format);
        SelectObject(item.hDC, old);
    }
}

INT_PTR CALLBACK AboutProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* a = reinterpret_cast<TAboutBox*>(GetWindowLongPtrW(box, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(box, DWLP_USER, lParam);
        Create(box, *reinterpret_cast<TAboutBox*>(lParam));
        return FALSE; // the focus is on Close
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(GetStockObject(BLACK_BRUSH));
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, RGB(0, 0, 0));
        SetTextColor(dc, a && reinterpret_cast<HWND>(lParam) == a->Written ? Yellow : Aqua);
        return reinterpret_cast<INT_PTR>(GetStockObject(BLACK_BRUSH));
    }
    case WM_DRAWITEM:
        if (a)
            Draw(*a, *reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_SETCURSOR:
        // The address is a link: a hand over it.
        if (a && reinterpret_cast<HWND>(wParam) == a->Email) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            SetWindowLongPtrW(box, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_COMMAND:
        if (a && reinterpret_cast<HWND>(lParam) == a->Email && HIWORD(wParam) == STN_CLICKED) {
            a->About->lblEmailClick();
            return TRUE;
        }
        // Only Close closes the box: Escape (Cancel) does not.
        if (a && LOWORD(wParam) == IDOK) {
            a->About->FormClose();
            EndDialog(box, IDOK);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

} // namespace

void ShowWinAboutBox(HWND owner, const TfrmAbout::TOpenUrl& openUrl, const std::string& iniFileName)
{
    TAboutBox box;
    box.OpenUrl = openUrl;
    box.IniFileName = iniFileName;
    ShowModalDialog(owner, WS_POPUP | WS_CAPTION | DS_MODALFRAME, WS_EX_TOOLWINDOW, AboutProc,
                    reinterpret_cast<LPARAM>(&box));
}

} // namespace velmora
