#pragma once

// What the level files hold and how the game reads them: their names, the scale the
// level geometry gives them, the node names that carry their content and the
// player's start, which every level has ground under.

#include <array>
#include <glm/vec3.hpp>
#include <string>

namespace Vexa {

/// The levels from 1 to `playableLevelCount` are played; the last one is the closing scene.
inline constexpr int playableLevelCount = 3;
inline constexpr int levelCount = 4;

inline std::string levelPath(int number) {
  return "Resources/Models/level" + std::to_string(number) + ".dae";
}

/// The title shown at the start of a playable level.
inline std::string levelTitlePath(int number) {
  return "Resources/Models/level" + std::to_string(number) + "_text.dae";
}

/// The level geometry scales the loaded file by this on all three axes, so every
/// position read from a level file includes it.
inline constexpr float levelScale = 2.0f;

/// Centre of the player's capsule at the start of every level and after a fall.
inline const glm::vec3 playerStartPosition(0.0f, 8.0f, -7.0f);

// Node names of the level files, matched exactly.
/// Its meshes are the solid ground.
inline constexpr const char* levelNode = "Level";
/// The light, placed at the node.
inline constexpr const char* sunNode = "Sun";
/// Each child is an enemy's spawn point.
inline constexpr const char* spawnerNode = "Spawner";
/// Each child is an event trigger, named after its event.
inline constexpr const char* eventsNode = "Events";
inline constexpr const char* elevatorNode = "Elevator";
/// The boss's spawn point.
inline constexpr const char* bigEnemyNode = "BigEnemy";
inline constexpr const char* door1Node = "Door1";
inline constexpr const char* door2Node = "Door2";

// Event trigger names.
inline constexpr const char* level1ElevatorEvent = "Level1ElevatorEvent";
/// Any of them finishes the level that holds it, whatever its number.
inline constexpr std::array<const char*, playableLevelCount> finishedEvents = {
    "Level1FinishedEvent", "Level2FinishedEvent", "Level3FinishedEvent"};

}  // namespace Vexa
