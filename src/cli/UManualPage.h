// The manual page of velmora-cli made from its command-line definitions, so
// that the page says what --help says. The build puts these sections into
// the hand-written rest of the page (desktop/velmora-cli.1.in).
#pragma once

#include <string>

#include <CLI/CLI.hpp>

namespace velmora::cli {

// In roff: SYNOPSIS (the program and each command without commands of its
// own), DESCRIPTION (the program's description), OPTIONS (the program's),
// COMMANDS (one subsection per command: its description, positionals,
// options and the text after its help), then the text after the program's
// help. Hidden options are left out.
std::string ManualPageSections(const CLI::App& app);

// Text after a command's help, as roff. Such a text is made of paragraphs
// separated by empty lines; a paragraph's first line that ends in its only
// ":" and is followed by indented lines is a heading (a section of the page
// when topLevel); lines indented by two spaces form a list when the first
// holds a tag, two spaces and its text (deeper lines continue the text), else
// they are shown as they stand.
std::string RoffFromHelpText(const std::string& text, bool topLevel);

} // namespace velmora::cli
