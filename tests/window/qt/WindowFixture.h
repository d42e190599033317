// The Qt main window made in a fresh program directory with scripted message
// boxes and dialogs that fail the test at its end for any question it did not
// script and any message it did not read.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "support/FakeServices.h"
#include "support/ProfileFiles.h"
#include "window/qt/UQtMainWindow.h"

namespace velmora::test {

class WindowTest : public WindowServicesTest {
protected:
    void TearDown() override
    {
        Form.reset();
        WindowServicesTest::TearDown();
    }
    TWindowServices Services()
    {
        return WindowServicesTest::Services([] { QCoreApplication::processEvents(); });
    }
    // A window made and started (FormCreate) on a Default.cfg written beforehand.
    TQtMainWindow& Start()
    {
        if (!std::filesystem::exists(DefaultProfile()))
            WriteProfile(Dir, "Default.cfg", "Quake 3 Arena Console Dump");
        Form = std::make_unique<TQtMainWindow>(Services());
        EXPECT_TRUE(Form->FormCreate());
        return *Form;
    }
    // Shows the window, active, at its initial size.
    void Show()
    {
        Form->show();
        Form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        QApplication::processEvents();
    }
    template <class W = QWidget>
    W* Find(const char* name) const
    {
        W* w = Form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    std::unique_ptr<TQtMainWindow> Form;
};

} // namespace velmora::test
