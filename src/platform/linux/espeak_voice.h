#pragma once
// The system voice on Linux: espeak-ng, Mandarin.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zonvex::linux_platform {

// Speaks synchronously through the sound card; espeak-ng is set up and released on every
// call, as a new voice object would be.
class EspeakVoice final : public Voice {
public:
    bool speak(const Text& text) override;
};

// The samples espeak-ng makes of a text with the voice used for speaking; nothing when the
// speech service cannot start.
std::optional<std::vector<short>> SynthesizeMandarin(const Text& text);
// The phonemes espeak-ng reads the text as, with that voice.
std::optional<std::string> MandarinPhonemes(const Text& text);

}  // namespace zonvex::linux_platform
