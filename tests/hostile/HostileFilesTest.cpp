// The real game, through the replay runner, on a run-time folder with one damaged
// resource of each kind: each case ends with that kind's message and -1.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "ChildRun.h"
#include "scene/LevelFiles.h"
#include "support/RunTimeFolderCopy.h"

namespace Vexa::test {
namespace {

namespace fs = std::filesystem;

constexpr unsigned secondsPerRun = 120;

enum class Damage { Missing, Empty, Truncated, RandomBytes, Directory };

struct Resource {
  std::string kind;
  std::string file;
  int level;
  /// The whole message, or where only its start is fixed (a compiler's log), that start.
  std::string message;
  bool messageIsStart;
  /// Where the truncated file ends: half of it for most kinds; a WAV cut after its
  /// header still plays what it holds, so it is cut inside the header.
  std::size_t truncatedBytes(std::size_t size) const { return kind == "sound" ? 20 : size / 2; }
};

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Plays two frames of `level` with the replay runner in a copy of the run-time
/// folder that the caller has damaged.
Ending playTwoFrames(const RunTimeFolderCopy& folder, int level) {
  const fs::path replay = folder.path() / "two_frames.replay";
  std::ofstream(replay) << "frame-time 0.016666666666666666\ncalendar 1700000000\nlevel " << level
                        << "\n2\n";
  return runIn(folder.path(), {VEXA_REPLAY, replay.string(), "--no-render"}, secondsPerRun);
}

void damage(const RunTimeFolderCopy& folder, const Resource& resource, Damage how,
            std::mt19937& random) {
  const std::string original = contents(folder.originalPath() / resource.file);
  const fs::path target = folder.replace(resource.file);
  switch (how) {
    case Damage::Missing:
      return;
    case Damage::Directory:
      fs::create_directory(target);
      return;
    case Damage::Empty:
      std::ofstream(target, std::ios::binary);
      return;
    case Damage::Truncated:
      std::ofstream(target, std::ios::binary)
          << original.substr(0, resource.truncatedBytes(original.size()));
      return;
    case Damage::RandomBytes: {
      std::string noise(original.size(), '\0');
      for (char& byte : noise) byte = static_cast<char>(random() & 0xFF);
      std::ofstream(target, std::ios::binary) << noise;
      return;
    }
  }
}

const char* damageName(Damage how) {
  switch (how) {
    case Damage::Missing:
      return "missing";
    case Damage::Empty:
      return "empty";
    case Damage::Truncated:
      return "truncated";
    case Damage::RandomBytes:
      return "random bytes";
    case Damage::Directory:
      return "directory";
  }
  return "";
}

void expectMessage(const Ending& ending, const std::string& expected, bool isStart,
                   const std::string& name) {
  EXPECT_TRUE(ending.controlled() && ending.outcome != "loads")
      << name << " ended: " << ending.outcome << ": " << ending.message;
  if (isStart)
    EXPECT_EQ(ending.message.substr(0, expected.size()), expected) << name;
  else
    EXPECT_EQ(ending.message, expected) << name;
}

TEST(HostileFilesTest, EveryKindOfResourceMissingOrDamagedEndsWithItsMessage) {
  const std::string model = "model could not be loaded: ";
  const std::vector<Resource> resources = {
      {"shader", "Shader/enemy_shader.vert", 1, "could not c", true},
      {"model", "Resources/Models/monster2_animation.dae", 1, model, true},
      {"level file", levelPath(2), 2, model, true},
      {"title", levelTitlePath(3), 3, model, true},
      {"texture", "Resources/Textures/grass.png", 1,
       "could not load image texture Resources/Textures/grass.png", false},
      {"texture", "Resources/Textures/monster3.png", 1,
       "could not load image texture Resources/Textures/monster3.png", false},
      {"sound", "Resources/Sounds/fast_swing_woosh.wav", 4,
       "could not find sound Resources/Sounds/fast_swing_woosh.wav", false}};
  std::mt19937 random(18);
  OutcomeCounts counts;
  for (const Resource& resource : resources) {
    for (Damage how : {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::RandomBytes,
                       Damage::Directory}) {
      const RunTimeFolderCopy folder;
      damage(folder, resource, how, random);
      const Ending ending = playTwoFrames(folder, resource.level);
      ++counts[ending.outcome];
      expectMessage(ending, resource.message, resource.messageIsStart,
                    resource.kind + " " + resource.file + " " + damageName(how));
    }
  }
  // A level file without a node the level places something at. (Level 3 without
  // its boss is a level without a boss and its doors, not a damaged file.)
  const std::vector<std::pair<int, std::string>> requiredNodes = {
      {1, sunNode},   {1, spawnerNode}, {1, elevatorNode}, {2, sunNode},
      {3, door1Node}, {3, door2Node},   {4, sunNode}};
  for (const auto& [level, node] : requiredNodes) {
    const RunTimeFolderCopy folder;
    std::string text = contents(folder.originalPath() / levelPath(level));
    // The node's id and name, whichever of them the importer takes.
    const std::string named = "\"" + std::string(node) + "\"";
    ASSERT_NE(text.find(named), std::string::npos) << levelPath(level) << " names " << node;
    for (std::size_t at = text.find(named); at != std::string::npos; at = text.find(named, at))
      text.replace(at, named.size(), "\"" + std::string(node) + "_gone\"");
    std::ofstream(folder.replace(levelPath(level)), std::ios::binary) << text;
    const Ending ending = playTwoFrames(folder, level);
    ++counts[ending.outcome];
    expectMessage(ending, "level file " + levelPath(level) + " has no node \"" + node + "\"", false,
                  levelPath(level) + " without " + node);
  }
  std::cout << table("hostile resources by outcome", counts);
}

}  // namespace
}  // namespace Vexa::test
