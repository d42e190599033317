// Terminal stand-ins for the window's progress bars and file list, used while
// velmora-cli runs a conversion.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/UControls.h"

namespace velmora::cli {

class TTerminalProgress;

// Keeps its figures and tells its owner when they change.
class TTerminalProgressBar : public IProgressBar {
public:
    explicit TTerminalProgressBar(TTerminalProgress& owner) : FOwner(owner) {}
    void SetMax(int max) override;
    int Max() const override { return FMax; }
    void SetPosition(int position) override;
    int Position() const override { return FPosition; }
    void StepIt() override;

private:
    TTerminalProgress& FOwner;
    int FMax = 100;
    int FPosition = 0;
};

// Two bars (files done of all, lines of the current file) drawn as one line
// that is rewritten in place. When disabled the bars only keep their figures.
class TTerminalProgress {
public:
    TTerminalProgress(std::FILE* out, bool enabled) : FOut(out), FEnabled(enabled) {}
    ~TTerminalProgress() { Clear(); }
    TTerminalProgress(const TTerminalProgress&) = delete;
    TTerminalProgress& operator=(const TTerminalProgress&) = delete;

    // False when nothing is drawn: the bars then only keep their figures.
    bool Enabled() const { return FEnabled; }
    TTerminalProgressBar& TotalBar() { return FTotal; }
    TTerminalProgressBar& FileBar() { return FFile; }
    // Takes the drawn line off the screen so that other output starts on a
    // clean line; the next change draws it again.
    void Clear();
    void Changed();

    // The line for the given figures; public so that its layout can be checked.
    static std::string Render(int filesDone, int files, int linePercent);

private:
    std::FILE* FOut; // not owned
    bool FEnabled;
    TTerminalProgressBar FTotal{*this};
    TTerminalProgressBar FFile{*this};
    // What is on screen, so that a redraw happens only when a figure changes
    // (the file bar steps once per dump line).
    bool FShown = false;
    int FShownDone = -1;
    int FShownFiles = -1;
    int FShownPercent = -1;
};

// Records rows and their status column. A status set outside an update
// bracket is a file's result (the run resets the column inside one) and is
// reported at once through the callback.
class TTerminalListView : public IListView {
public:
    using TStatusCallback = std::function<void(int row, const std::string& text)>;

    void SetOnStatus(TStatusCallback callback) { FOnStatus = std::move(callback); }

    int RowCount() const override { return static_cast<int>(FRows.size()); }
    int SelectedCount() const override { return 0; }
    void Clear() override { FRows.clear(); }
    void AddRow(const std::string& caption) override { FRows.push_back({caption, {}}); }
    int SubItemCount(int row) const override;
    void AddSubItem(int row, const std::string& text) override;
    void SetFirstSubItem(int row, const std::string& text) override;
    void BeginUpdate() override { ++FUpdateDepth; }
    void EndUpdate() override { --FUpdateDepth; }

    // The status column of a row, empty when it has none.
    std::string Status(int row) const;

private:
    struct TRow {
        std::string Caption;
        std::vector<std::string> SubItems;
    };
    bool ValidRow(int row) const { return row >= 0 && row < RowCount(); }
    void Report(int row, const std::string& text);

    std::vector<TRow> FRows;
    int FUpdateDepth = 0;
    TStatusCallback FOnStatus;
};

} // namespace velmora::cli
