// The "Players" section of a modern page and of the index page: a table of
// the players with their chat lines, words, kills, deaths, suicides and top
// weapon, each name linking to where the player first appears.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/UPageSummary.h"

namespace velmora {

// The link of a player's name, as an href; empty for none.
using TPlayerLink = std::function<std::string(const TPlayerSummary&)>;

// "#L<n>": the player's first line on the same page; empty without one.
std::string FirstLineLink(const TPlayerSummary& player);

// The section in UTF-8, its lines ending in CR LF, a row per player in the
// order given (see SortPlayers); note, when given, is a sentence under the
// heading. Nothing at all without players.
std::string PlayersSectionHtml(const std::vector<TPlayerSummary>& players, const TPlayerLink& link = FirstLineLink,
                               std::string_view note = {});

// The style rules of the section's classes, for the page's <style> block:
// numbers aligned right, and a table wider than a phone's screen scrolled
// within the section instead of widening the page.
std::string_view PlayersStyleRules();

} // namespace velmora
