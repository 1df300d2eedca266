// Preset files come from other people: whatever their bytes, reading one,
// building its pipeline and running that pipeline over a few names must end
// in a plan or a clean error, never a crash, a hang or a leak.
#include "engine/core/RuleError.h"
#include "engine/presets/Preset.h"
#include "engine/presets/PresetError.h"
#include "engine/support/JsonFields.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

// Names that give every rule something to work on: delimiters, digits, an
// extension, accents, white space, an empty stem and a folder.
const std::vector<morvane::FileItem>& sampleItems() {
    using namespace morvane;
    static const std::vector<FileItem> items = [] {
        const Date when{std::chrono::seconds(1709681400)};
        return std::vector<FileItem>{
            FileItem("IMG_0042.JPG", "/photos/Rome", when, when, 10, false, true),
            FileItem("e\xCC\x81t\xC3\xA9  2024_a-b.txt", "/photos/Rome", when, when, 10, false, true),
            FileItem(".hidden", "/photos", when, when, 0, false, true),
            FileItem("Folder", "/", when, when, 0, true, true),
        };
    }();
    return items;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvane;
    try {
        const Preset preset = Preset::decode(std::string_view(reinterpret_cast<const char*>(data), size));
        // Whatever was read must write back and read again as the same preset.
        if (Preset::decode(preset.data()) != preset) {
            __builtin_trap();
        }
        const auto built = preset.makePipeline();
        for (const auto& step : built.pipeline.steps) {
            (void)step.rule->summary();
        }
        (void)built.pipeline.plan(sampleItems());
    } catch (const DecodingError&) {
    } catch (const PresetError&) {
    } catch (const RuleError&) {
    }
    return 0;
}
