// The index page of a destination directory: index.htm lists every modern
// page there, built from the summaries in the pages' heads, so that nothing
// else has to be stored between runs.
#pragma once

#include <string>
#include <vector>

#include "conversion/UPageSummary.h"

namespace velmora {

class THTMLOptions;

inline constexpr const char* IndexPageName = "index.htm";

struct TIndexEntry {
    std::string PageName; // the page's file name in the directory
    TPageSummary Summary;
};

// The pages of dir (files ending in ".htm") whose summary can be read, the
// newest dump first (then by page name). index.htm, pages of other programs
// and pages that cannot be read are left out; a directory that cannot be
// read has none.
std::vector<TIndexEntry> ReadIndexEntries(const std::string& dir);

// The index page, in UTF-8: the profile's title, author and colours; the
// entries grouped by the month of their dump date, in the order given, each
// row with the date, a link to the page, its lines and chat lines, and the
// five players with most chat lines; then the "Players" section summed over
// the pages with player stats.
std::string IndexPageHtml(const std::vector<TIndexEntry>& entries, const THTMLOptions& html);

// Rebuilds dir/index.htm from the pages in dir, replacing it atomically;
// false when it cannot be written.
bool WriteIndexPage(const std::string& dir, const THTMLOptions& html);

} // namespace velmora
