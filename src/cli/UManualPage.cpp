// velmora-cli's manual page from the same definitions that its --help prints.
#include "cli/UManualPage.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

namespace velmora::cli {

namespace {

// Text as roff takes it: backslashes kept, and minus signs escaped so that
// options print as typed and never break across lines.
std::string Roff(const std::string& text)
{
    std::string result;
    for (char c : text) {
        if (c == '\\')
            result += "\\e";
        else if (c == '-')
            result += "\\-";
        else
            result += c;
    }
    return result;
}

std::string Bold(const std::string& text)
{
    return "\\fB" + Roff(text) + "\\fR";
}

std::string Italic(const std::string& text)
{
    return "\\fI" + Roff(text) + "\\fR";
}

// A line of text; one that starts with a dot or a quote would be a request.
void TextLine(std::ostringstream& out, const std::string& roff)
{
    if (!roff.empty() && (roff.front() == '.' || roff.front() == '\''))
        out << "\\&";
    out << roff << '\n';
}

std::string Trimmed(const std::string& line)
{
    std::size_t first = line.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : line.substr(first, line.find_last_not_of(' ') - first + 1);
}

bool Indented(const std::string& line)
{
    return line.rfind("  ", 0) == 0 && !Trimmed(line).empty();
}

// "  TAG  TEXT": true with the tag and the text when line is such a line.
bool SplitTagged(const std::string& line, std::string& tag, std::string& text)
{
    if (!Indented(line) || line[2] == ' ')
        return false;
    std::size_t gap = line.find("  ", 2);
    if (gap == std::string::npos)
        return false;
    tag = line.substr(2, gap - 2);
    text = Trimmed(line.substr(gap));
    return !text.empty();
}

bool IsHeading(const std::vector<std::string>& lines, std::size_t i)
{
    const std::string& line = lines[i];
    return !line.empty() && line.back() == ':' && std::count(line.begin(), line.end(), ':') == 1 &&
           i + 1 < lines.size() && Indented(lines[i + 1]);
}

std::string CommandPath(const CLI::App& command)
{
    std::string path = command.get_name();
    for (const CLI::App* parent = command.get_parent(); parent; parent = parent->get_parent())
        path = parent->get_name() + " " + path;
    return path;
}

// What follows the command's words in "Usage: velmora-cli convert [OPTIONS]
// [DUMP...]", as --help shows it.
std::string UsageArguments(const CLI::App& command)
{
    std::string path = CommandPath(command);
    std::string usage = CLI::Formatter().make_usage(&command, path);
    usage = usage.substr(usage.find(path) + path.size());
    return Trimmed(usage.substr(0, usage.find('\n')));
}

std::vector<const CLI::App*> Commands(const CLI::App& app)
{
    return app.get_subcommands([](const CLI::App* sub) { return !sub->get_name().empty(); });
}

// The leaves of the command tree after the program itself, in their order.
void SynopsisLines(std::ostringstream& out, const CLI::App& command)
{
    std::vector<const CLI::App*> commands = Commands(command);
    if (commands.empty() || !command.get_parent()) {
        out << Bold(CommandPath(command)) << ' ' << Roff(UsageArguments(command)) << "\n.br\n";
    }
    for (const CLI::App* sub : commands)
        SynopsisLines(out, *sub);
}

// Positionals first, as --help lists them; the help option of a command is
// the program's, described once.
void OptionItems(std::ostringstream& out, const CLI::App& command)
{
    std::vector<const CLI::Option*> options = command.get_options([&command](const CLI::Option* option) {
        return !option->get_group().empty() && (option != command.get_help_ptr() || !command.get_parent());
    });
    std::stable_partition(options.begin(), options.end(),
                          [](const CLI::Option* option) { return option->get_positional(); });
    CLI::Formatter formatter;
    for (const CLI::Option* option : options) {
        std::string names;
        if (option->get_positional()) {
            names = Italic(option->get_name(true, false));
        } else {
            std::istringstream list(option->get_name(false, true));
            for (std::string name; std::getline(list, name, ',');)
                names += (names.empty() ? "" : ", ") + Bold(name);
        }
        std::string opts = Trimmed(formatter.make_option_opts(option));
        out << ".TP\n" << names << (opts.empty() ? "" : " " + Italic(opts)) << '\n';
        TextLine(out, Roff(option->get_description()));
    }
}

// A command's footer without the program's, which the page gives once.
std::string OwnFooter(const CLI::App& command, const std::string& programFooter)
{
    std::string footer = command.get_footer();
    if (!programFooter.empty() && footer.size() >= programFooter.size() &&
        footer.compare(footer.size() - programFooter.size(), std::string::npos, programFooter) == 0)
        footer.resize(footer.size() - programFooter.size());
    return footer;
}

void CommandSection(std::ostringstream& out, const CLI::App& command, const std::string& programFooter)
{
    out << ".SS \"" << Roff(CommandPath(command) + " " + UsageArguments(command)) << "\"\n";
    TextLine(out, Roff(command.get_description()));
    OptionItems(out, command);
    out << RoffFromHelpText(OwnFooter(command, programFooter), false);
    for (const CLI::App* sub : Commands(command))
        CommandSection(out, *sub, programFooter);
}

} // namespace

std::string RoffFromHelpText(const std::string& text, bool topLevel)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);

    std::ostringstream out;
    bool paragraphStart = true; // the next plain line starts a paragraph
    for (std::size_t i = 0; i < lines.size();) {
        const std::string& line = lines[i];
        std::string tag, itemText;
        if (Trimmed(line).empty()) {
            paragraphStart = true;
            ++i;
        } else if (SplitTagged(line, tag, itemText)) {
            out << ".TP\n" << Bold(tag) << '\n';
            TextLine(out, Roff(itemText));
            for (++i; i < lines.size() && lines[i].rfind("   ", 0) == 0 && Indented(lines[i]); ++i)
                TextLine(out, Roff(Trimmed(lines[i])));
            paragraphStart = true;
        } else if (Indented(line)) {
            out << ".RS\n.nf\n";
            for (; i < lines.size() && Indented(lines[i]) && !SplitTagged(lines[i], tag, itemText); ++i)
                TextLine(out, Roff(Trimmed(lines[i])));
            out << ".fi\n.RE\n";
        } else if (paragraphStart && IsHeading(lines, i)) {
            std::string title = line.substr(0, line.size() - 1);
            if (topLevel) {
                std::transform(title.begin(), title.end(), title.begin(),
                               [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
                out << ".SH " << Roff(title) << '\n';
            } else {
                out << ".PP\n" << Bold(line) << '\n';
            }
            paragraphStart = false;
            ++i;
        } else {
            if (paragraphStart)
                out << ".PP\n";
            paragraphStart = false;
            TextLine(out, Roff(Trimmed(line)));
            ++i;
        }
    }
    return out.str();
}

std::string ManualPageSections(const CLI::App& app)
{
    std::ostringstream out;
    out << ".SH SYNOPSIS\n";
    SynopsisLines(out, app);
    out << ".SH DESCRIPTION\n" << RoffFromHelpText(app.get_description(), false);
    out << ".SH OPTIONS\n";
    OptionItems(out, app);
    out << ".SH COMMANDS\n";
    for (const CLI::App* command : Commands(app))
        CommandSection(out, *command, app.get_footer());
    out << RoffFromHelpText(app.get_footer(), true);
    return out.str();
}

} // namespace velmora::cli
