#include "platform/linux/espeak_voice.h"
#include "platform/linux/loaded_library.h"

#include <espeak-ng/speak_lib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>

namespace zonvex::linux_platform {

namespace {

// The plain "cmn" voice reads the tone digits of its pinyin aloud in English; this one
// reads them as tones.
constexpr const char* kMandarinVoice = "cmn-latn-pinyin";

int g_output = -1;  // where the child writes what it makes

bool WriteAll(int fd, const void* data, size_t size) {
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

int SendSamples(short* wav, int count, espeak_EVENT*) {
    if (wav && count > 0) WriteAll(g_output, wav, static_cast<size_t>(count) * sizeof(short));
    return 0;
}

// espeak-ng's functions, loaded in the child that speaks: the program itself never maps the
// library or the sound libraries it brings, which keeps its start quick and small.
struct Espeak {
    decltype(&espeak_Initialize) Initialize;
    decltype(&espeak_SetVoiceByName) SetVoiceByName;
    decltype(&espeak_Synth) Synth;
    decltype(&espeak_Synchronize) Synchronize;
    decltype(&espeak_SetSynthCallback) SetSynthCallback;
    decltype(&espeak_TextToPhonemes) TextToPhonemes;

    // Nothing when the library or one of its functions is missing.
    static std::optional<Espeak> Load() {
        void* library = dlopen("libespeak-ng.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!library) return std::nullopt;
        Espeak e;
        bool found = Bind(library, "espeak_Initialize", e.Initialize) && Bind(library, "espeak_SetVoiceByName", e.SetVoiceByName) &&
                     Bind(library, "espeak_Synth", e.Synth) && Bind(library, "espeak_Synchronize", e.Synchronize) &&
                     Bind(library, "espeak_SetSynthCallback", e.SetSynthCallback) &&
                     Bind(library, "espeak_TextToPhonemes", e.TextToPhonemes);
        return found ? std::optional(e) : std::nullopt;
    }
};

using Clock = std::chrono::steady_clock;

// Waits for the child until the deadline and kills it then; either way it is reaped. Its
// exit status, or nothing when it had to be killed.
std::optional<int> Reap(pid_t child, Clock::time_point deadline) {
    int status = 0;
    for (;;) {
        pid_t r = waitpid(child, &status, WNOHANG);
        if (r == child) return status;
        if (r < 0 && errno != EINTR) return std::nullopt;
        if (Clock::now() >= deadline) {
            kill(child, SIGKILL);
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            return std::nullopt;
        }
        usleep(1000);
    }
}

// Runs the work in a child process and returns what it wrote to g_output, or nothing when
// it failed or was still running after the limit. espeak-ng 1.51 can hang in
// espeak_Terminate, so the child's exit is what releases it: every call starts from
// nothing, like a new voice object.
std::optional<std::string> InChild(const std::function<bool()>& work, std::chrono::milliseconds limit) {
    const Clock::time_point deadline = Clock::now() + limit;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
    pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        close(fds[0]);
        g_output = fds[1];
        _exit(work() ? 0 : 1);
    }
    close(fds[1]);
    std::string out;
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd ready{fds[0], POLLIN, 0};
        int r = left > 0 ? poll(&ready, 1, static_cast<int>(left)) : 0;
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;  // the limit has passed
        ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        out.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    const std::optional<int> status = Reap(child, deadline);
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) return std::nullopt;
    return out;
}

// Sets espeak-ng up with the Mandarin voice and uses it; false when the speech service
// cannot start.
bool WithEspeak(espeak_AUDIO_OUTPUT output, const std::function<bool(const Espeak&)>& use) {
    const std::optional<Espeak> espeak = Espeak::Load();
    return espeak && espeak->Initialize(output, 0, nullptr, 0) >= 0 && espeak->SetVoiceByName(kMandarinVoice) == EE_OK &&
           use(*espeak);
}

// One use of espeak-ng in a child of its own, within the speaking limit.
std::optional<std::string> InEspeakChild(espeak_AUDIO_OUTPUT output, const std::function<bool(const Espeak&)>& use) {
    return InChild([&] { return WithEspeak(output, use); }, EspeakVoice::kLimit);
}

bool Synthesize(const Espeak& espeak, const std::string& utf8) {
    return espeak.Synth(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr) == EE_OK &&
           espeak.Synchronize() == EE_OK;
}

bool SpeakThroughSoundCard(const std::string& utf8) {
    return WithEspeak(AUDIO_OUTPUT_SYNCH_PLAYBACK, [&](const Espeak& espeak) { return Synthesize(espeak, utf8); });
}

}  // namespace

bool EspeakVoice::speak(const Text& text) {
    const std::string utf8 = GbkToUtf8(text);
    const Speaker speaker = speaker_ ? speaker_ : SpeakThroughSoundCard;
    return InChild([&] { return speaker(utf8); }, limit_).has_value();
}

std::optional<std::vector<short>> SynthesizeMandarin(const Text& text) {
    const std::string utf8 = GbkToUtf8(text);
    auto bytes = InEspeakChild(AUDIO_OUTPUT_SYNCHRONOUS, [&](const Espeak& espeak) {
        espeak.SetSynthCallback(SendSamples);
        return Synthesize(espeak, utf8);
    });
    if (!bytes) return std::nullopt;
    std::vector<short> samples(bytes->size() / sizeof(short));
    std::copy_n(bytes->data(), samples.size() * sizeof(short), reinterpret_cast<char*>(samples.data()));
    return samples;
}

std::optional<std::string> MandarinPhonemes(const Text& text) {
    const std::string utf8 = GbkToUtf8(text);
    return InEspeakChild(AUDIO_OUTPUT_SYNCHRONOUS, [&](const Espeak& espeak) {
        const void* at = utf8.c_str();
        while (at) {
            const char* clause = espeak.TextToPhonemes(&at, espeakCHARS_UTF8, 0);
            if (clause && (!WriteAll(g_output, clause, std::strlen(clause)) || !WriteAll(g_output, " ", 1))) return false;
        }
        return true;
    });
}

}  // namespace zonvex::linux_platform
