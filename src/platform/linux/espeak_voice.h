#pragma once
// The system voice on Linux: espeak-ng, Mandarin.
#include <chrono>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zonvex::linux_platform {

// Speaks synchronously through the sound card; espeak-ng is set up and released on every
// call, as a new voice object would be. The longest text the program speaks takes about
// 4.5 s; a voice still busy after the limit (a sound system that never returns, a child
// deadlocked in loading the library) is killed, so the windows wait at most that long.
class EspeakVoice final : public Voice {
public:
    static constexpr std::chrono::milliseconds kLimit{15000};
    // What the speaking child does with the UTF-8 text: speak it with espeak-ng, unless a
    // test brings a voice of its own.
    using Speaker = bool (*)(const std::string& utf8);
    explicit EspeakVoice(std::chrono::milliseconds limit = kLimit, Speaker speaker = nullptr)
        : limit_(limit), speaker_(speaker) {}
    bool speak(const Text& text) override;

private:
    std::chrono::milliseconds limit_;
    Speaker speaker_;
};

// The samples espeak-ng makes of a text with the voice used for speaking; nothing when the
// speech service cannot start.
std::optional<std::vector<short>> SynthesizeMandarin(const Text& text);
// The phonemes espeak-ng reads the text as, with that voice.
std::optional<std::string> MandarinPhonemes(const Text& text);

}  // namespace zonvex::linux_platform
