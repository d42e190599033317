// Terminal stand-ins for the window's progress bars and file list.
#include "cli/UTerminalControls.h"

namespace velmora::cli {

void TTerminalProgressBar::SetMax(int max)
{
    FMax = max;
    FOwner.Changed();
}

void TTerminalProgressBar::SetPosition(int position)
{
    FPosition = position;
    FOwner.Changed();
}

void TTerminalProgressBar::StepIt()
{
    ++FPosition;
    FOwner.Changed();
}

namespace {
constexpr int BarWidth = 20;

int Percent(int position, int max)
{
    if (max <= 0 || position <= 0)
        return 0;
    if (position >= max)
        return 100;
    return static_cast<int>(static_cast<long long>(position) * 100 / max);
}

std::string Bar(int percent)
{
    // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict, falsely) about
    // "[" + std::string(...).
    int filled = percent * BarWidth / 100;
    std::string bar = "[";
    bar.append(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(BarWidth - filled), '-');
    bar += ']';
    return bar;
}
} // namespace

std::string TTerminalProgress::Render(int filesDone, int files, int linePercent)
{
    std::string line = "Total ";
    line += Bar(Percent(filesDone, files));
    line += ' ';
    line += std::to_string(filesDone);
    line += '/';
    line += std::to_string(files);
    line += "  Current file ";
    line += Bar(linePercent);
    line += ' ';
    line += std::to_string(linePercent);
    line += '%';
    return line;
}

void TTerminalProgress::Changed()
{
    if (!FEnabled)
        return;
    int percent = Percent(FFile.Position(), FFile.Max());
    if (FShown && FShownDone == FTotal.Position() && FShownFiles == FTotal.Max() && FShownPercent == percent)
        return;
    FShown = true;
    FShownDone = FTotal.Position();
    FShownFiles = FTotal.Max();
    FShownPercent = percent;
    // "\r" returns to the start of the line, ESC [K erases what an older, longer line left.
    std::fprintf(FOut, "\r%s\033[K", Render(FShownDone, FShownFiles, percent).c_str());
    std::fflush(FOut);
}

void TTerminalProgress::Clear()
{
    if (!FShown)
        return;
    FShown = false;
    std::fputs("\r\033[K", FOut);
    std::fflush(FOut);
}

int TTerminalListView::SubItemCount(int row) const
{
    return ValidRow(row) ? static_cast<int>(FRows[static_cast<std::size_t>(row)].SubItems.size()) : 0;
}

void TTerminalListView::AddSubItem(int row, const std::string& text)
{
    if (!ValidRow(row))
        return;
    FRows[static_cast<std::size_t>(row)].SubItems.push_back(text);
    if (FRows[static_cast<std::size_t>(row)].SubItems.size() == 1)
        Report(row, text);
}

void TTerminalListView::SetFirstSubItem(int row, const std::string& text)
{
    if (!ValidRow(row))
        return;
    auto& subItems = FRows[static_cast<std::size_t>(row)].SubItems;
    if (subItems.empty())
        subItems.push_back(text);
    else
        subItems[0] = text;
    Report(row, text);
}

std::string TTerminalListView::Status(int row) const
{
    if (!ValidRow(row) || FRows[static_cast<std::size_t>(row)].SubItems.empty())
        return {};
    return FRows[static_cast<std::size_t>(row)].SubItems[0];
}

void TTerminalListView::Report(int row, const std::string& text)
{
    if (FUpdateDepth == 0 && FOnStatus)
        FOnStatus(row, text);
}

} // namespace velmora::cli
