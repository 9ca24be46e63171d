#include "BotView.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "scene/mesh/Enemy.h"

namespace Vexa::bot {

namespace {

glm::vec3 vector(const nlohmann::json& xyz) {
  return {xyz.at(0).get<float>(), xyz.at(1).get<float>(), xyz.at(2).get<float>()};
}

}  // namespace

bool BotView::Enemy::tumbling() const {
  return state == static_cast<int>(scene::mesh::EnemyState::Hit);
}

bool BotView::triggered(const std::string& event) const {
  return std::find(triggeredEvents.begin(), triggeredEvents.end(), event) != triggeredEvents.end();
}

BotView BotView::parse(const std::string& stateLine) {
  try {
    const nlohmann::json line = nlohmann::json::parse(stateLine);
    BotView view;
    view.frame = line.at("frame").get<long>();
    view.level = line.at("level").get<int>();
    view.floatMode = line.at("floatMode").get<bool>();
    view.inLevel = line.contains("player");
    if (!view.inLevel) return view;
    view.player = vector(line.at("player"));
    view.yaw = line.at("yaw").get<float>();
    view.pitch = line.at("pitch").get<float>();
    view.onGround = line.at("onGround").get<bool>();
    view.swinging = line.at("bat").get<std::string>() == "Swing";
    for (const auto& enemy : line.at("enemies")) {
      view.enemies.push_back({vector(enemy.at("position")), enemy.at("state").get<int>(),
                              enemy.at("hidden").get<bool>()});
    }
    view.triggeredEvents = line.at("events").get<std::vector<std::string>>();
    return view;
  } catch (const nlohmann::json::exception& error) {
    throw std::runtime_error(std::string("not a state line: ") + error.what());
  }
}

}  // namespace Vexa::bot
