#include <windows.h>
#include <sapi.h>

#include "platform/windows/windows_platform.h"

namespace zonvex::windows_platform {

bool SapiVoice::speak(const Text& text) {
    // A voice for this text alone, released as soon as it has spoken.
    ISpVoice* voice = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(SpVoice), nullptr, CLSCTX_ALL, __uuidof(ISpVoice),
                                reinterpret_cast<void**>(&voice))))
        return false;
    const std::wstring wide = Wide(text);
    const bool spoken = SUCCEEDED(voice->Speak(wide.c_str(), SPF_DEFAULT, nullptr));  // returns when done
    voice->Release();
    return spoken;
}

}  // namespace zonvex::windows_platform
