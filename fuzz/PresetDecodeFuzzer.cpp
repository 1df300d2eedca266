// Preset files come from other people: whatever their bytes, reading one and
// building its pipeline must end in a preset or a clean error, never a crash,
// a hang or a leak.
#include "engine/core/RuleError.h"
#include "engine/presets/Preset.h"
#include "engine/presets/PresetError.h"
#include "engine/support/JsonFields.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvane;
    try {
        const Preset preset = Preset::decode(std::string_view(reinterpret_cast<const char*>(data), size));
        const auto built = preset.makePipeline();
        // Whatever was read must write back and read again as the same preset.
        if (Preset::decode(preset.data()) != preset) {
            __builtin_trap();
        }
        (void)built;
    } catch (const DecodingError&) {
    } catch (const PresetError&) {
    } catch (const RuleError&) {
    }
    return 0;
}
