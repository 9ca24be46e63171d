#pragma once

#include <glm/vec3.hpp>
#include <map>
#include <string>
#include <vector>

#include "Journey.h"

namespace Vexa::bot {

/// What the resource generator's manifest says of a level for the bot to play it by:
/// its grounds, its landmarks and its route, placed from the same numbers the level's
/// file is built from.
class LevelMap {
 public:
  /// Where the game's data folder holds the manifest.
  static constexpr const char* manifestPath = "Resources/manifest.json";

  /// The maps of the playable levels, level 1 first. Throws std::runtime_error naming
  /// the file when it cannot be read or is not a manifest of them.
  static std::vector<LevelMap> readAll(const std::string& path = manifestPath);

  /// `legs` holds one leg at least.
  LevelMap(std::map<std::string, Ground> grounds, std::map<std::string, glm::vec3> landmarks,
           std::vector<Leg> legs);

  /// These throw std::runtime_error for a name the level lacks.
  const Ground& ground(const std::string& name) const;
  const glm::vec3& landmark(const std::string& name) const;
  /// The route's legs but the last, each with the fight that clears the ground it
  /// ends on: the way to the level's own task (the wave, the boss).
  std::vector<Leg> legsToTask() const { return {legs.begin(), legs.end() - 1}; }
  /// The last leg's waypoints: the way on to the finish.
  const std::vector<Waypoint>& wayToFinish() const { return legs.back().route; }

 private:
  std::map<std::string, Ground> grounds;
  std::map<std::string, glm::vec3> landmarks;
  std::vector<Leg> legs;
};

}  // namespace Vexa::bot
