// The window's logic on recording fakes, in a fresh program directory, with
// scripted message boxes and dialogs that fail the test at its end for any
// question it did not script and any message it did not read.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/FakeServices.h"
#include "support/ProfileFiles.h"
#include "FakeWindow.h"

namespace velmora::test {

class FormTest : public WindowServicesTest {
protected:
    void TearDown() override
    {
        Form.reset();
        WindowServicesTest::TearDown();
    }
    TWindowServices Services()
    {
        return WindowServicesTest::Services([this] {
            if (Pump)
                Pump();
        });
    }
    // The form made on the fake window, its change events wired.
    THTMLform& Make()
    {
        Form = std::make_unique<THTMLform>(Services(), W.Controls());
        W.Wire(*Form);
        return *Form;
    }
    // The form made and started (FormCreate) in the test's program directory.
    THTMLform& Start()
    {
        Make();
        EXPECT_TRUE(Form->FormCreate());
        return *Form;
    }
    // Started on a Default.cfg written beforehand, so that nothing is said at the start.
    THTMLform& StartOnDefault()
    {
        WriteProfile(Dir, "Default.cfg", DefaultTitle);
        return Start();
    }
    // A handler run as the front end runs it: an error it raises is shown.
    void Run(void (THTMLform::*handler)())
    {
        Form->Guarded([&] { (Form.get()->*handler)(); });
    }

    static const TOptionControl& Row(std::string_view name)
    {
        for (const TOptionControl& row : OptionControls())
            if (name == row.Name)
                return row;
        throw std::invalid_argument("no option control " + std::string(name));
    }
    // Typing into an option control, which then has the focus; Leave moves the focus away.
    void Type(std::string_view name, const std::string& text)
    {
        W.Focus(std::string(name), Row(name).Sheet);
        FakeText& edit = W.Texts.find(name)->second;
        edit.SetText(edit.Text + text);
    }
    void Click(std::string_view name)
    {
        W.Focus(std::string(name), Row(name).Sheet);
        FakeCheck& box = W.Checks.find(name)->second;
        box.SetChecked(!box.Checked);
    }
    // The user picks an entry of a drop-down list, which then has the focus.
    void Choose(std::string_view name, int index)
    {
        W.Focus(std::string(name), Row(name).Sheet);
        W.Choices.find(name)->second.Selected = index;
        Form->Guarded([&] { Form->OptionsChanged(Row(name)); });
    }
    void Leave()
    {
        for (const TOptionControl& row : OptionControls())
            if (W.Focused == row.Name)
                Form->OptionControlExit(row);
        W.Focus("", -1);
    }
    std::string Text(std::string_view name) { return W.Texts.find(name)->second.Text; }
    FakeCheck& Check(std::string_view name) { return W.Checks.find(name)->second; }
    bool Changed() const { return W.ActSaveOpts.Enabled; }

    static inline const std::string DefaultTitle = "Quake 3 Arena Console Dump";

    std::function<void()> Pump; // runs whenever the form lets window messages through
    TFakeWindow W;
    std::unique_ptr<THTMLform> Form;
};

} // namespace velmora::test
