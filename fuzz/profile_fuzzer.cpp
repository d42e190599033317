// Feeds arbitrary bytes to the profile file decoding. Besides looking for
// crashes, leaks and undefined behaviour, it checks that whatever a profile
// reads successfully it writes back in a form that reads back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/UPlatform.h"
#include "settings/UHighLighter.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // No registry and no message boxes: the defaults come from the program
    // directory, and a read failure is only the returned false.
    const TPlatform platform{nullptr, nullptr, "/tmp/"};
    TSettingsAction notifier(nullptr);

    THighlightProfile profile(&notifier, platform);
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!profile.LoadFromData(bytes))
        return 0;

    std::string saved = profile.SaveToData();
    THighlightProfile again(&notifier, platform);
    if (!again.LoadFromData(saved) || again.SaveToData() != saved)
        std::abort();
    return 0;
}
