// The Win32 main window made in a fresh program directory with scripted
// message boxes and dialogs that fail the test at its end for any question it
// did not script and any message it did not read. Keys and mouse moves are
// posted to the thread's queue and let through the window's own message handling.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/UText.h"
#include "support/FakeServices.h"
#include "support/ProfileFiles.h"
#include "window/win32/UWinControls.h"
#include "window/win32/UWinMainWindow.h"
#include "window/win32/UWinMessageLoop.h"

namespace velmora::test {

class WinWindowTest : public WindowServicesTest {
protected:
    void TearDown() override
    {
        Form.reset();
        ProcessMessages();
        WindowServicesTest::TearDown();
    }
    // A window made and started (FormCreate) on a Default.cfg written beforehand.
    TWinMainWindow& Start()
    {
        if (!std::filesystem::exists(DefaultProfile()))
            WriteProfile(Dir, "Default.cfg", "Quake 3 Arena Console Dump");
        Form = std::make_unique<TWinMainWindow>(WindowServicesTest::Services(ProcessMessages));
        EXPECT_TRUE(Form->FormCreate());
        return *Form;
    }
    void Show()
    {
        Form->Show();
        ProcessMessages();
    }
    HWND Find(const char* name) const
    {
        HWND control = Form->Control(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    // Alt and a letter, as the keyboard sends it to the control with the focus.
    void PressAlt(char letter)
    {
        PostMessageW(Focused(), WM_SYSCHAR, static_cast<WPARAM>(letter), 1 << 29);
        ProcessMessages();
    }
    void PressKey(WPARAM key)
    {
        PostMessageW(Focused(), WM_KEYDOWN, key, 0);
        ProcessMessages();
    }
    void ShowTab(int tab)
    {
        SendMessageW(Find("PageControl"), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
        NMHDR change{Find("PageControl"), 0, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(Form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    }
    static std::string StatusText(HWND bar, int part)
    {
        wchar_t text[256] = L"";
        SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
        return Utf8Text(text);
    }
    static std::string CellText(HWND list, int row, int column)
    {
        wchar_t text[512] = L"";
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 512;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return Utf8Text(text);
    }
    // A control's place relative to the window's.
    RECT PlaceOf(HWND control) const
    {
        RECT window, place;
        GetWindowRect(Form->Handle(), &window);
        GetWindowRect(control, &place);
        OffsetRect(&place, -window.left, -window.top);
        return place;
    }

    std::unique_ptr<TWinMainWindow> Form;

private:
    HWND Focused() const
    {
        HWND focus = GetFocus();
        return focus && IsChild(Form->Handle(), focus) ? focus : Form->Handle();
    }
};

} // namespace velmora::test
