#include "cli/UUsage.h"

#include <algorithm>

#include "cli/UCommands.h"

namespace velmora::cli {

namespace {

// Edits from a to b: insertions, deletions, changes and swaps of neighbours.
std::size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The deepest command named on the command line, and its words ("velmora-cli profile").
CLI::App* CalledCommand(CLI::App& app, std::string& path)
{
    CLI::App* command = &app;
    path = ProgramName;
    for (auto parsed = command->get_subcommands(); !parsed.empty(); parsed = command->get_subcommands()) {
        command = parsed.front();
        path += " " + command->get_name();
    }
    return command;
}

std::vector<std::string> CommandNames(const CLI::App& command)
{
    std::vector<std::string> names;
    for (const CLI::App* sub : command.get_subcommands([](const CLI::App*) { return true; }))
        names.push_back(sub->get_name());
    return names;
}

std::vector<std::string> OptionNames(const CLI::App& command)
{
    std::vector<std::string> names{"--help"};
    for (const CLI::Option* option : command.get_options([](const CLI::Option* o) { return !o->get_group().empty(); }))
        for (const std::string& name : option->get_lnames())
            names.push_back("--" + name);
    return names;
}

} // namespace

std::string NearestWord(const std::string& word, const std::vector<std::string>& candidates)
{
    // A slip is at most two edits, and fewer than half of a short word.
    const std::size_t allowed = std::min<std::size_t>(2, std::max<std::size_t>(1, word.size() / 3));
    std::string best;
    std::size_t bestDistance = allowed + 1;
    for (const std::string& candidate : candidates) {
        std::size_t distance = EditDistance(word, candidate);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

std::string UsageMessage(CLI::App& app, const CLI::ParseError& error)
{
    std::string path;
    CLI::App* command = CalledCommand(app, path);
    std::string text;
    // The first word not understood; what follows it often only seems wrong because of it.
    std::vector<std::string> unknown = command->remaining();
    if (unknown.empty()) {
        text = path + ": " + error.what() + "\n";
    } else {
        const std::string& word = unknown.front();
        bool isOption = word.size() > 1 && word.front() == '-';
        text = std::string(ProgramName) + ": unknown " + (isOption ? "option" : "command") + " \"" + word + "\" for \"" +
               path + "\"";
        std::string suggestion = NearestWord(word, isOption ? OptionNames(*command) : CommandNames(*command));
        if (!suggestion.empty())
            text += "; did you mean \"" + suggestion + "\"?";
        text += "\n";
    }
    text += "Run \"" + path + " --help\" for more.\n";
    return text;
}

} // namespace velmora::cli
