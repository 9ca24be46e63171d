#include "StateLine.h"

#include <cstdio>

#include "app/Application.h"
#include "physic/PhysicsWorld.h"

namespace Vexa::replay {

namespace {

std::string jsonString(const std::string& text) {
  std::string json = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      json += escaped;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

std::string jsonNumber(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", static_cast<double>(value));
  return text;
}

std::string jsonVector(const glm::vec3& v) {
  return "[" + jsonNumber(v.x) + "," + jsonNumber(v.y) + "," + jsonNumber(v.z) + "]";
}

std::string jsonBool(bool value) {
  return value ? "true" : "false";
}

std::string jsonEnemies(const std::vector<LevelState::Enemy>& enemies) {
  std::string json = "[";
  for (const LevelState::Enemy& enemy : enemies) {
    if (json.size() > 1) json += ",";
    json += "{\"position\":" + jsonVector(enemy.position) +
            ",\"state\":" + std::to_string(enemy.state) + ",\"segment\":[" +
            std::to_string(enemy.segmentFirst) + "," + std::to_string(enemy.segmentLast) +
            "],\"hidden\":" + jsonBool(enemy.hidden) + "}";
  }
  return json + "]";
}

std::string jsonStrings(const std::vector<std::string>& texts) {
  std::string json = "[";
  for (const std::string& text : texts) {
    if (json.size() > 1) json += ",";
    json += jsonString(text);
  }
  return json + "]";
}

std::string jsonLevel(const LevelState& level) {
  return ",\"player\":" + jsonVector(level.playerPosition) + ",\"yaw\":" + jsonNumber(level.yaw) +
         ",\"pitch\":" + jsonNumber(level.pitch) + ",\"onGround\":" + jsonBool(level.onGround) +
         ",\"bat\":" + jsonString(level.batState) +
         ",\"batVariant\":" + std::to_string(level.batVariant) +
         ",\"enemies\":" + jsonEnemies(level.enemies) +
         ",\"events\":" + jsonStrings(level.triggeredEvents);
}

}  // namespace

std::string stateLine(const GameState& state) {
  return "{\"frame\":" + std::to_string(state.frame) +
         ",\"level\":" + std::to_string(state.levelIndex) +
         ",\"floatMode\":" + jsonBool(state.floatMode) +
         (state.level ? jsonLevel(*state.level) : "") +
         ",\"caption\":" + jsonString(state.caption) + "}";
}

std::string stateLine(long frame, const Application& application) {
  const Level* level = application.level();
  const LevelState levelState = level ? level->state() : LevelState{};
  return stateLine({frame, application.levelIndex(), application.physics()->floatMode,
                    application.caption(), level ? &levelState : nullptr});
}

}  // namespace Vexa::replay
