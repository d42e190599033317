// A main window made in a fresh program directory with scripted message boxes
// and dialogs, for tests on Qt's offscreen platform.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "support/FakeControls.h"
#include "support/TempDir.h"
#include "window/qt/HTMLgenUnit.h"
#include "window/UFileDialogs.h"

namespace velmora::test {

// Dialogs that answer from a script (an empty answer: cancelled) and record how they were set up.
class FakeDialogs : public IFileDialogs {
public:
    bool ExecuteOpen(const TFileDialogSettings& settings, std::vector<std::string>& files) override
    {
        OpenSettings.push_back(settings);
        return Answer(OpenAnswers, files);
    }
    bool ExecuteSave(const TFileDialogSettings& settings, std::string& file) override
    {
        SaveSettings.push_back(settings);
        return Answer(SaveAnswers, file);
    }
    bool ExecuteColor(TColor preset, TColor& chosen) override
    {
        ColorPresets.push_back(preset);
        return Answer(ColorAnswers, chosen);
    }
    bool BrowseFolder(const std::string&, const std::string&, std::string& folder) override
    {
        return Answer(FolderAnswers, folder);
    }

    std::deque<std::optional<std::vector<std::string>>> OpenAnswers;
    std::deque<std::optional<std::string>> SaveAnswers;
    std::deque<std::optional<TColor>> ColorAnswers;
    std::deque<std::optional<std::string>> FolderAnswers;
    std::vector<TFileDialogSettings> OpenSettings;
    std::vector<TFileDialogSettings> SaveSettings;
    std::vector<TColor> ColorPresets;

private:
    template <class T>
    static bool Answer(std::deque<std::optional<T>>& answers, T& result)
    {
        if (answers.empty())
            throw std::logic_error("unexpected dialog");
        std::optional<T> answer = answers.front();
        answers.pop_front();
        if (answer)
            result = *answer;
        return answer.has_value();
    }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { RestoreBuiltInDefaults(); }
    void TearDown() override
    {
        Form.reset();
        RestoreBuiltInDefaults();
    }

    TWindowServices Services()
    {
        TWindowServices services;
        services.MessageBoxes = &Boxes;
        services.Dialogs = &Dialogs;
        services.ProgramDir = Dir.Path();
        services.ExecutablePath = Dir.File("velmora");
        services.ProcessMessages = [] { QCoreApplication::processEvents(); };
        return services;
    }
    // A window made and started (FormCreate) in the test's program directory.
    THTMLform& Start()
    {
        Form = std::make_unique<THTMLform>(Services());
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
    std::string IniPath() const { return Dir.File("velmora.ini"); }
    std::string DefaultProfile() const { return Dir.File("Default.cfg"); }

    TempDir Dir;
    FakeMessageBoxes Boxes;
    FakeDialogs Dialogs;
    std::unique_ptr<THTMLform> Form;
};

} // namespace velmora::test
