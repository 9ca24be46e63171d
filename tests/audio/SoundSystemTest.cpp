#include <AL/al.h>

#include <csignal>
#include <cstdlib>

#include "SoundTest.h"
#include "audio/SoundClip.h"
#include "audio/SoundSystem.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using SoundSystemTest = SoundTest;

glm::vec3 listener(ALenum property) {
  glm::vec3 value;
  alGetListener3f(property, &value.x, &value.y, &value.z);
  return value;
}

TEST_F(SoundSystemTest, ListenerVelocityIsTheDistanceMovedInTheFrame) {
  const glm::vec3 forward(0.0f, 0.0f, -1.0f), up(0.0f, 1.0f, 0.0f);
  clock.advance(0.016);
  sounds->updateListener({1.0f, 2.0f, 3.0f}, forward, up);
  EXPECT_EQ(listener(AL_VELOCITY), glm::vec3(1.0f, 2.0f, 3.0f)) << "the ear starts at the origin";

  glm::vec3 position(1.0f, 2.0f, 3.0f);
  for (double frameSeconds : {0.5, 0.001}) {
    SCOPED_TRACE(frameSeconds);
    clock.advance(frameSeconds);
    position.x += 0.1f;
    sounds->updateListener(position, forward, up);
    EXPECT_NEAR(listener(AL_VELOCITY).x, 0.1f, 1e-6f);
    EXPECT_EQ(listener(AL_POSITION), position);
  }
  clock.advance(0.016);
  sounds->updateListener(position, forward, up);
  EXPECT_EQ(listener(AL_VELOCITY), glm::vec3(0.0f)) << "standing still";

  ALfloat orientation[6] = {};
  alGetListenerfv(AL_ORIENTATION, orientation);
  EXPECT_EQ(glm::vec3(orientation[0], orientation[1], orientation[2]), forward);
  EXPECT_EQ(glm::vec3(orientation[3], orientation[4], orientation[5]), up);
}

// An owner that declares its sound system after its clips destroys it first.
TEST_F(SoundSystemTest, OutlivingClipsEndTheProgramAtOnceNamingThem) {
  const std::string jump = files.writeTone("jump.wav", 0.2);
  const std::string swing = files.writeTone("swing.wav", 0.2);
  const auto wrongOrder = [&] {
    struct Owner {
      std::unique_ptr<SoundClip> jumpSound;
      std::unique_ptr<SoundClip> swingSound;
      std::unique_ptr<SoundSystem> system;
    } owner{nullptr, nullptr, std::make_unique<SoundSystem>(SoundSystem::Output::Discarded)};
    owner.jumpSound = std::make_unique<SoundClip>(owner.system.get(), jump);
    owner.swingSound = std::make_unique<SoundClip>(owner.system.get(), swing);
    owner.jumpSound->play();
    owner.jumpSound.reset();  // one clip went in time: only the other is named
  };
  EXPECT_EXIT(wrongOrder(), testing::KilledBySignal(SIGABRT),
              "^sound system destroyed before its clips: " + swing + "\n$");
  // In the right order nothing is left and the program goes on.
  SoundClip clip(sounds.get(), jump);
  clip.play();
}

TEST_F(SoundSystemTest, DiscardedOutputMixesTheTimeSinceTheLastUpdate) {
  EXPECT_FALSE(sounds->hasDevice());
  listen(0.5);
  EXPECT_EQ(sounds->discardedMix().size(), 2u * SoundSystem::discardedMixRate / 2);
  listen(0.0);
  EXPECT_TRUE(sounds->discardedMix().empty());
  listen(3600.0);  // a long pause is not mixed in full
  EXPECT_LE(sounds->discardedMix().size(), 2u * 5 * SoundSystem::discardedMixRate);
}

// Each death test's child process starts the sound libraries afresh, so what it
// puts in the environment first reaches them.
class FreshSoundLibraryTest : public testing::Test {
 protected:
  SoundFiles files;
  ManualClock clock;
};

void playWithTheDefaultDevice(ManualClock& clock, const std::string& soundName) {
  SoundSystem system;
  SoundClip clip(&system, soundName);
  clip.play();
  bool played = clip.isPlaying();
  if (!system.hasDevice()) {
    clock.advance(0.5);
    system.updateListener({}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f});
    played = played && !clip.isPlaying();
  }
  std::exit(played ? 0 : 1);
}

TEST_F(FreshSoundLibraryTest, WithoutASoundCardTheGameGoesOnQuietly) {
  const std::string tone = files.writeTone("tone.wav", 0.2);
  // This machine's own drivers: where there is no card, libasound and OpenAL Soft
  // have errors to report, and none may reach the console.
  EXPECT_EXIT(playWithTheDefaultDevice(clock, tone), testing::ExitedWithCode(0), "^$");
  EXPECT_EXIT(
      {
        setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
        playWithTheDefaultDevice(clock, tone);
      },
      testing::ExitedWithCode(0), "^$");
}

TEST_F(FreshSoundLibraryTest, TooFewChannelsAreFatal) {
  const std::string config = std::filesystem::absolute(
      SoundFiles::pathOf(files.writeBytes("alsoft.conf", "[general]\nsources = 50\n")));
  EXPECT_EXIT(
      {
        setenv("ALSOFT_CONF", config.c_str(), 1);
        SoundSystem system(SoundSystem::Output::Discarded);
      },
      testing::ExitedWithCode(255), exactMessage("could not init system"));
}

}  // namespace
}  // namespace Vexa::test
