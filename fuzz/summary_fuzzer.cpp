// Feeds arbitrary bytes to the reader of page summaries, as a page and as
// the text of a summary element. Besides looking for crashes, leaks and
// undefined behaviour, it checks that whatever is read is written back in a
// form that reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "conversion/UPageSummary.h"

using namespace velmora;

namespace {

void Check(const std::string& page)
{
    TPageSummary summary;
    if (!ParsePageSummary(page, summary))
        return;
    const std::string element = SummaryElement(summary);
    if (element.size() >= MaxSummaryBytes / 2)
        return; // players may have been left out to keep it small
    TPageSummary again;
    if (!ParsePageSummary(element, again) || !(again == summary))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes);
    Check(std::string(SummaryElementStart) + bytes + "</script>");
    return 0;
}
