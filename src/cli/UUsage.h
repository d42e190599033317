// What velmora-cli says when it is called wrongly: the problem, a suggestion
// for a mistyped command or option, and where to read more.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace velmora::cli {

// The candidate closest to word by edits (a swap of neighbours counting as
// one), when it is close enough to be a typing slip; empty otherwise.
std::string NearestWord(const std::string& word, const std::vector<std::string>& candidates);

// A short message for a parse error of app: the error, a suggestion for each
// word that was not understood, and a pointer to the help of the command.
std::string UsageMessage(CLI::App& app, const CLI::ParseError& error);

} // namespace velmora::cli
