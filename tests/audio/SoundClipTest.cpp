#include <filesystem>
#include <memory>
#include <random>

#include "SoundTest.h"
#include "audio/SoundClip.h"
#include "support/GlTest.h"

namespace Vexa::test {
namespace {

using SoundClipTest = SoundTest;

constexpr float quiet = 1e-4f;

TEST_F(SoundClipTest, PlaysAtItsVolume) {
  SoundClip clip(sounds.get(), files.writeTone("tone.wav", 0.2));
  EXPECT_FLOAT_EQ(clip.volume(), 1.0f);
  EXPECT_LT(listen(0.05).left, quiet) << "nothing plays before play()";

  clip.play();
  const Loudness full = listen(0.1);
  EXPECT_GT(full.left, 0.2f);
  EXPECT_NEAR(full.left, full.right, 0.01f) << "a sound at the ear is centred";

  clip.stop();
  clip.setVolume(0.25f);
  clip.play();
  EXPECT_NEAR(listen(0.1).left / full.left, 0.25f, 0.01f);
}

TEST_F(SoundClipTest, FollowsItsSourceAroundTheListener) {
  SoundClip clip(sounds.get(), files.writeTone("tone.wav", 1.0));
  clip.moveTo({-5.0f, 0.0f, 0.0f});
  clip.play();
  const Loudness atTheLeft = listen(0.1);
  EXPECT_GT(atTheLeft.left, 2.0f * atTheLeft.right);

  clip.moveTo({5.0f, 0.0f, 0.0f});
  listen(0.05);  // the mixer glides to the new place
  const Loudness atTheRight = listen(0.1);
  EXPECT_GT(atTheRight.right, 2.0f * atTheRight.left);
}

TEST_F(SoundClipTest, FadesWithDistanceBeyondTwoUnits) {
  SoundClip clip(sounds.get(), files.writeTone("tone.wav", 1.0));
  const auto loudnessAt = [&](float distance) {
    clip.stop();
    clip.moveTo({0.0f, 0.0f, -distance});
    clip.play();
    return listen(0.1).left;
  };
  const float atOne = loudnessAt(1.0f);
  const float atTwo = loudnessAt(2.0f);
  const float atTwenty = loudnessAt(20.0f);
  EXPECT_NEAR(atOne, atTwo, 0.01f) << "full volume within two units";
  EXPECT_NEAR(atTwenty / atTwo, 0.1f, 0.01f);
}

TEST_F(SoundClipTest, PlaysForItsLengthUnlessStopped) {
  SoundClip clip(sounds.get(), files.writeTone("tone.wav", 0.2));
  EXPECT_FALSE(clip.isPlaying());
  clip.stop();  // nothing to stop yet

  clip.play();
  EXPECT_TRUE(clip.isPlaying());
  listen(0.15);
  EXPECT_TRUE(clip.isPlaying());
  listen(0.1);
  EXPECT_FALSE(clip.isPlaying());
  EXPECT_LT(listen(0.1).left, quiet);

  clip.play();
  listen(0.05);
  clip.stop();
  EXPECT_FALSE(clip.isPlaying());
  EXPECT_LT(listen(0.05).left, quiet);
}

TEST_F(SoundClipTest, OnlyTheNewestOfTwoPlaybacksAnswersToTheClip) {
  SoundClip clip(sounds.get(), files.writeTone("tone.wav", 0.2));
  clip.play();
  listen(0.1);
  clip.play();
  clip.stop();
  EXPECT_FALSE(clip.isPlaying());
  EXPECT_GT(listen(0.05).left, 0.2f) << "the first playback goes on";
  listen(0.1);
  EXPECT_LT(listen(0.05).left, quiet) << "and ends with its length";
}

TEST_F(SoundClipTest, AReusedChannelNoLongerAnswersToItsFormerClip) {
  SoundClip first(sounds.get(), files.writeTone("first.wav", 1.0));
  SoundClip other(sounds.get(), files.writeTone("other.wav", 1.0));
  first.play();
  for (int i = 0; i < SoundSystem::channelCount; ++i) other.play();
  // Every channel was busy, so the newest playback took the earliest one: first's.
  EXPECT_FALSE(first.isPlaying());
  first.stop();
  first.moveTo({5.0f, 0.0f, 0.0f});
  EXPECT_TRUE(other.isPlaying());
  const Loudness heard = listen(0.1);
  EXPECT_NEAR(heard.left, heard.right, 0.01f) << "nothing was moved through the old clip";
}

TEST_F(SoundClipTest, ReleasingAClipSilencesItsPlaybacks) {
  auto clip = std::make_unique<SoundClip>(sounds.get(), files.writeTone("tone.wav", 1.0));
  SoundClip survivor(sounds.get(), files.writeTone("survivor.wav", 1.0));
  clip->play();
  clip->play();
  listen(0.05);
  clip.reset();
  EXPECT_LT(listen(0.05).left, quiet);
  survivor.play();
  EXPECT_GT(listen(0.05).left, 0.2f);
}

// Clips of one file share its samples: the file is read once, so rewriting it
// changes nothing for a later clip while an earlier one lives. Releasing one of
// them leaves the other playing, and the last one takes the samples with it.
TEST_F(SoundClipTest, ClipsOfOneFileShareItsSamplesUntilTheLastGoes) {
  const std::string name = files.writeTone("shared.wav", 1.0);
  auto first = std::make_unique<SoundClip>(sounds.get(), name);
  std::filesystem::remove(SoundFiles::pathOf(name));
  auto second = std::make_unique<SoundClip>(sounds.get(), name);
  first->play();
  second->play();
  listen(0.05);
  first.reset();
  EXPECT_TRUE(second->isPlaying());
  EXPECT_GT(listen(0.05).left, 0.2f) << "the other clip's playback goes on";
  second.reset();
  EXPECT_EXIT(SoundClip(sounds.get(), name), testing::ExitedWithCode(255), "could not find sound");
}

TEST_F(SoundClipTest, AStereoFileIsMixedDownAndPlacedLikeAMonoOne) {
  SoundClip mono(sounds.get(), files.writeTone("mono.wav", 1.0, {0.5f}));
  SoundClip stereo(sounds.get(), files.writeTone("stereo.wav", 1.0, {0.0f, 1.0f}));
  mono.play();
  const float monoLevel = listen(0.1).left;
  mono.stop();

  stereo.moveTo({-5.0f, 0.0f, 0.0f});
  stereo.play();
  listen(0.01);
  const Loudness heard = listen(0.1);
  EXPECT_GT(heard.left, 2.0f * heard.right) << "its right channel sounds from the left";
  stereo.moveTo({0.0f, 0.0f, 0.0f});
  listen(0.05);
  EXPECT_NEAR(listen(0.1).left, monoLevel, 0.01f) << "the channels are averaged";
}

TEST_F(SoundClipTest, PlaysRealWavFilesItDidNotMake) {
  for (const auto& entry : std::filesystem::directory_iterator("/usr/share/sounds/alsa")) {
    SCOPED_TRACE(entry.path().string());
    SoundClip clip(sounds.get(), files.copyIn(entry.path()));
    clip.play();
    float loudest = 0.0f;
    for (int frame = 0; frame < 100 && clip.isPlaying(); ++frame)
      loudest = std::max(loudest, listen(0.1).left);
    EXPECT_GT(loudest, 0.05f);
    EXPECT_FALSE(clip.isPlaying()) << "ends within ten seconds";
  }
}

TEST_F(SoundClipTest, AFileThatCannotBeReadIsFatal) {
  const auto expectFatal = [&](const std::string& name) {
    SCOPED_TRACE(name);
    EXPECT_EXIT(SoundClip(sounds.get(), name), testing::ExitedWithCode(255),
                exactMessage("could not find sound " + SoundFiles::pathOf(name)));
  };
  expectFatal(files.folderName + "/missing.wav");
  expectFatal(files.folderName + "/no_such_folder/tone.wav");
  expectFatal(files.folderName);

  const std::string wav = files.readBytes(files.writeTone("valid.wav", 0.1));
  expectFatal(files.writeBytes("truncated_header.wav", wav.substr(0, 20)));
  expectFatal(files.writeBytes("header_only.wav", wav.substr(0, 44)));
  std::mt19937 random(6);
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>(random());
  expectFatal(files.writeBytes("noise.wav", noise));
  expectFatal(files.writeBytes("empty.wav", ""));
}

}  // namespace
}  // namespace Vexa::test
