// The window's services for tests: message boxes and dialogs that answer from
// a script and fail the test at its end for anything it did not expect. They
// never raise, so no error handler of the window can hide an unexpected
// question: an unscripted question is answered No (a dialog: cancelled) and
// recorded, and Verify reports it with every message the test did not read
// and every answer it scripted but nobody asked for.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/FakeControls.h"
#include "support/TempDir.h"
#include "window/UFileDialogs.h"
#include "window/UWindowServices.h"

namespace velmora::test {

class TStrictMessageBoxes : public FakeMessageBoxes {
public:
    void ShowMessage(const std::string& caption, const std::string& text, TMsgIcon icon) override
    {
        FakeMessageBoxes::ShowMessage(caption, text, icon);
        if (WhileShown)
            WhileShown();
    }
    bool AskYesNo(const std::string& caption, const std::string& text) override
    {
        if (!YesNoAnswers.empty())
            return FakeMessageBoxes::AskYesNo(caption, text);
        Unexpected.push_back(caption + "|" + text);
        return false;
    }
    TYesNoCancel AskYesNoCancel(const std::string& caption, const std::string& text) override
    {
        if (!YesNoCancelAnswers.empty())
            return FakeMessageBoxes::AskYesNoCancel(caption, text);
        Unexpected.push_back(caption + "|" + text);
        return TYesNoCancel::No;
    }
    TOverwriteAnswer AskOverwrite(const std::string& text) override
    {
        if (!OverwriteAnswers.empty())
            return FakeMessageBoxes::AskOverwrite(text);
        Unexpected.push_back(text);
        return TOverwriteAnswer::Closed;
    }
    // The messages shown since the last call; they count as read.
    std::vector<Message> Take()
    {
        std::vector<Message> taken;
        taken.swap(Messages);
        return taken;
    }
    // The questions asked since the last call.
    std::vector<std::string> TakeQuestions()
    {
        std::vector<std::string> taken;
        taken.swap(Questions);
        return taken;
    }
    void Verify() const
    {
        for (const std::string& question : Unexpected)
            ADD_FAILURE() << "unexpected question: " << question;
        for (const Message& message : Messages)
            ADD_FAILURE() << "unread message: " << message.Caption << " | " << message.Text;
        if (!YesNoAnswers.empty() || !YesNoCancelAnswers.empty() || !OverwriteAnswers.empty())
            ADD_FAILURE() << "answers nobody asked for: " << YesNoAnswers.size() << " yes/no, "
                          << YesNoCancelAnswers.size() << " yes/no/cancel, " << OverwriteAnswers.size()
                          << " overwrite";
    }
    std::vector<std::string> Unexpected;
    std::function<void()> WhileShown; // runs while a message is up
};

// Dialogs that answer from a script (an empty answer: cancelled) and record how they were set up.
class TStrictDialogs : public IFileDialogs {
public:
    bool ExecuteOpen(const TFileDialogSettings& settings, std::vector<std::string>& files) override
    {
        OpenSettings.push_back(settings);
        return Answer("open", OpenAnswers, files);
    }
    bool ExecuteSave(const TFileDialogSettings& settings, std::string& file) override
    {
        SaveSettings.push_back(settings);
        return Answer("save", SaveAnswers, file);
    }
    bool ExecuteColor(TColor preset, TColor& chosen) override
    {
        ColorPresets.push_back(preset);
        return Answer("colour", ColorAnswers, chosen);
    }
    bool BrowseFolder(const std::string& title, const std::string&, std::string& folder) override
    {
        FolderTitles.push_back(title);
        return Answer("folder", FolderAnswers, folder);
    }
    void Verify() const
    {
        for (const std::string& dialog : Unexpected)
            ADD_FAILURE() << "unexpected " << dialog << " dialog";
        if (!OpenAnswers.empty() || !SaveAnswers.empty() || !ColorAnswers.empty() || !FolderAnswers.empty())
            ADD_FAILURE() << "dialog answers nobody asked for";
    }

    std::deque<std::optional<std::vector<std::string>>> OpenAnswers;
    std::deque<std::optional<std::string>> SaveAnswers;
    std::deque<std::optional<TColor>> ColorAnswers;
    std::deque<std::optional<std::string>> FolderAnswers;
    std::vector<TFileDialogSettings> OpenSettings;
    std::vector<TFileDialogSettings> SaveSettings;
    std::vector<TColor> ColorPresets;
    std::vector<std::string> FolderTitles;
    std::vector<std::string> Unexpected;

private:
    template <class T>
    bool Answer(const char* dialog, std::deque<std::optional<T>>& answers, T& result)
    {
        if (answers.empty()) {
            Unexpected.push_back(dialog);
            return false;
        }
        std::optional<T> answer = answers.front();
        answers.pop_front();
        if (answer)
            result = *answer;
        return answer.has_value();
    }
};

// A window test's fresh program directory and faked services; at its end the
// shared default colours are put back and the scripts checked.
class WindowServicesTest : public ::testing::Test {
protected:
    void SetUp() override { RestoreBuiltInDefaults(); }
    void TearDown() override
    {
        RestoreBuiltInDefaults();
        Boxes.Verify();
        Dialogs.Verify();
    }
    TWindowServices Services(TProcessMessages processMessages)
    {
        TWindowServices services;
        services.MessageBoxes = &Boxes;
        services.Dialogs = &Dialogs;
        services.Registry = &Registry;
        services.ProgramDir = Dir.Path();
        services.ExecutablePath = Dir.File("velmora");
        services.OpenUrl = [this](const std::string& url) { Urls.push_back(url); };
        services.ProcessMessages = std::move(processMessages);
        return services;
    }
    std::string IniPath() const { return Dir.File("velmora.ini"); }
    std::string DefaultProfile() const { return Dir.File("Default.cfg"); }

    TempDir Dir;
    TStrictMessageBoxes Boxes;
    TStrictDialogs Dialogs;
    FakeRegistry Registry;
    std::vector<std::string> Urls; // what the desktop was asked to open
};

} // namespace velmora::test
