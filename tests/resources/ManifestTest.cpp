// The generator's manifest of what it built against the game's own numbers: the level
// files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <glm/geometric.hpp>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "scene/LevelFiles.h"

namespace Vexa::test {
namespace {

using nlohmann::json;

std::string fileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

glm::vec3 vec3Of(const json& values) {
  return {values.at(0).get<float>(), values.at(1).get<float>(), values.at(2).get<float>()};
}

class Manifest : public testing::Test {
 protected:
  const json manifest = json::parse(std::ifstream("Resources/manifest.json"));
  const json& levels = manifest.at("levels");
};

TEST_F(Manifest, LevelFilesAreTheOnesTheGameLoadsAtItsScaleAndStart) {
  EXPECT_EQ(levels.at("scale").get<float>(), levelScale);
  EXPECT_LT(glm::distance(vec3Of(levels.at("playerStart")), playerStartPosition), 1e-6f);
  std::set<std::string> files, titles;
  for (int number = 1; number <= levelCount; ++number) files.insert(fileName(levelPath(number)));
  for (int number = 1; number <= playableLevelCount; ++number)
    titles.insert(fileName(levelTitlePath(number)));
  std::set<std::string> builtFiles;
  for (const auto& file : levels.at("files").items()) builtFiles.insert(file.key());
  EXPECT_EQ(builtFiles, files);
  EXPECT_EQ(levels.at("titles").get<std::set<std::string>>(), titles);
}

TEST_F(Manifest, LevelFilesCarryEveryNodeAndOnlyTheEventsTheGameLooksFor) {
  std::set<std::string> nodes, events;
  for (const json& level : levels.at("files")) {
    for (const json& node : level.at("nodes")) nodes.insert(node.get<std::string>());
    for (const json& event : level.at("events")) events.insert(event.get<std::string>());
  }
  for (const char* node : {levelNode, sunNode, spawnerNode, eventsNode, elevatorNode, bigEnemyNode,
                           door1Node, door2Node})
    EXPECT_EQ(nodes.count(node), 1u) << node;
  std::set<std::string> gameEvents(finishedEvents.begin(), finishedEvents.end());
  gameEvents.insert(level1ElevatorEvent);
  EXPECT_EQ(events, gameEvents);
}

}  // namespace
}  // namespace Vexa::test
