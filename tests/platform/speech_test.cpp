#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "platform/linux/espeak_voice.h"
#include "support/utf8.h"

namespace zonvex::linux_platform {
namespace {

TEST(SpeechTest, TheCongratulationBecomesAudio) {
    auto samples = SynthesizeMandarin("恭喜您已经成功转换到体验服一区");
    ASSERT_TRUE(samples) << "espeak-ng could not start";
    ASSERT_GT(samples->size(), 22050u) << "at least a second of audio";
    size_t loud = std::count_if(samples->begin(), samples->end(), [](short s) { return std::abs(s) > 1000; });
    EXPECT_GT(loud, samples->size() / 20) << "not silence";
}

TEST(SpeechTest, TheVoiceReadsTonesNotDigitsInEnglish) {
    auto phonemes = MandarinPhonemes("恭喜您");
    ASSERT_TRUE(phonemes);
    // English digits would read "one", "two", "three": w'0n, t'u:, T'ri:
    EXPECT_EQ(phonemes->find("w'0n"), std::string::npos) << *phonemes;
    EXPECT_EQ(phonemes->find("T'ri:"), std::string::npos) << *phonemes;
    EXPECT_EQ(phonemes->find("t'u:"), std::string::npos) << *phonemes;
    EXPECT_EQ(phonemes->find("(en)"), std::string::npos) << "no switch to English: " << *phonemes;
    // Mandarin tones are written as pitch contours such as 55 (first tone) and 214 (third).
    EXPECT_NE(phonemes->find("55"), std::string::npos) << *phonemes;
    EXPECT_NE(phonemes->find("214"), std::string::npos) << *phonemes;
}

// A voice that never finishes (a sound system that does not return) is killed at the limit
// and reaped, and the call returns.
TEST(SpeechTest, AVoiceThatHangsIsKilledAtTheLimit) {
    EspeakVoice voice(std::chrono::milliseconds(200), [](const std::string&) {
        for (;;) pause();
        return true;
    });
    EXPECT_FALSE(voice.speak("恭喜您已经成功转换到体验服一区"));
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no child left running or unreaped";
    EXPECT_EQ(errno, ECHILD);
}

TEST(SpeechTest, AVoiceThatFinishesInTimeHasSpoken) {
    EspeakVoice voice(std::chrono::milliseconds(5000), [](const std::string& utf8) { return utf8 == testing::U8(u8"恭喜您"); });
    EXPECT_TRUE(voice.speak("恭喜您"));
}

}  // namespace
}  // namespace zonvex::linux_platform
