#include "LevelMap.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>

#include "scene/LevelFiles.h"

namespace Vexa::bot {

namespace {

using nlohmann::json;

glm::vec3 point(const json& xyz) {
  return {xyz.at(0).get<float>(), xyz.at(1).get<float>(), xyz.at(2).get<float>()};
}

glm::vec2 extent(const json& xz) {
  return {xz.at(0).get<float>(), xz.at(1).get<float>()};
}

OpenSides openSides(const json& ground) {
  if (!ground.contains("open")) return {};
  const auto open = ground.at("open").get<std::vector<std::string>>();
  const auto has = [&open](const char* side) {
    return std::find(open.begin(), open.end(), side) != open.end();
  };
  return {has("west"), has("east"), has("north"), has("south")};
}

Waypoint::Move moveNamed(const std::string& name) {
  if (name == "walk") return Waypoint::Move::Walk;
  if (name == "jump") return Waypoint::Move::JumpOff;
  if (name == "float") return Waypoint::Move::FloatTo;
  throw std::runtime_error("no such move: " + name);
}

LevelMap mapOf(const json& level) {
  std::map<std::string, Ground> grounds;
  for (const auto& [name, ground] : level.at("grounds").items())
    grounds[name] = {extent(ground.at("min")), extent(ground.at("max")),
                     ground.at("top").get<float>(), openSides(ground)};
  std::map<std::string, glm::vec3> landmarks;
  for (const auto& [name, at] : level.at("landmarks").items()) landmarks[name] = point(at);
  std::vector<Leg> legs;
  for (const json& leg : level.at("route")) {
    std::vector<Waypoint> route;
    for (const json& waypoint : leg.at("waypoints"))
      route.push_back({point(waypoint.at("at")), moveNamed(waypoint.at("move").get<std::string>()),
                       waypoint.at("reach").get<float>()});
    std::optional<Fighter> clearing;
    if (leg.contains("clear")) {
      const std::string ground = leg.at("clear").get<std::string>();
      if (!grounds.count(ground)) throw std::runtime_error("no ground to clear named " + ground);
      clearing.emplace(grounds.at(ground));
    }
    legs.push_back({std::move(route), std::move(clearing)});
  }
  return LevelMap(std::move(grounds), std::move(landmarks), std::move(legs));
}

}  // namespace

std::vector<LevelMap> LevelMap::readAll(const std::string& path) {
  std::ifstream file(path);
  if (!file) throw std::runtime_error("could not read " + path);
  try {
    const json files = json::parse(file).at("levels").at("files");
    std::vector<LevelMap> maps;
    for (int number = 1; number <= playableLevelCount; ++number) {
      const std::string name = std::filesystem::path(levelPath(number)).filename().string();
      maps.push_back(mapOf(files.at(name)));
    }
    return maps;
  } catch (const std::exception& error) {
    throw std::runtime_error(path + " is not a manifest of the levels: " + error.what());
  }
}

LevelMap::LevelMap(std::map<std::string, Ground> grounds,
                   std::map<std::string, glm::vec3> landmarks, std::vector<Leg> legs)
    : grounds(std::move(grounds)), landmarks(std::move(landmarks)), legs(std::move(legs)) {
  if (this->legs.empty()) throw std::runtime_error("a level's route has no legs");
}

const Ground& LevelMap::ground(const std::string& name) const {
  const auto found = grounds.find(name);
  if (found == grounds.end()) throw std::runtime_error("the level has no ground named " + name);
  return found->second;
}

const glm::vec3& LevelMap::landmark(const std::string& name) const {
  const auto found = landmarks.find(name);
  if (found == landmarks.end()) throw std::runtime_error("the level has no landmark named " + name);
  return found->second;
}

}  // namespace Vexa::bot
