// The bot's hands: bearings in the game's yaw and pitch, and the keys and mouse
// motion that turn and move the player where the bot wants.

#include <gtest/gtest.h>

#include "Pilot.h"

namespace Vexa::bot {
namespace {

TEST(PilotTest, BearingsCountAsTheGameCountsYawAndPitch) {
  const glm::vec3 eye(0.0f, 10.0f, 0.0f);
  EXPECT_NEAR(yawTowards(eye, {0.0f, 10.0f, -5.0f}), 0.0f, 1e-4f) << "yaw 0 looks along -z";
  EXPECT_NEAR(yawTowards(eye, {5.0f, 0.0f, 0.0f}), 90.0f, 1e-4f) << "and grows towards +x";
  EXPECT_NEAR(std::abs(yawTowards(eye, {0.0f, 10.0f, 5.0f})), 180.0f, 1e-4f);
  EXPECT_NEAR(pitchTowards(eye, {0.0f, 5.0f, -5.0f}), 45.0f, 1e-4f) << "positive looks down";
  EXPECT_NEAR(pitchTowards(eye, {0.0f, 15.0f, -5.0f}), -45.0f, 1e-4f);
  EXPECT_NEAR(directionOfYaw(90.0f).x, 1.0f, 1e-6f);
  EXPECT_NEAR(directionOfYaw(0.0f).y, -1.0f, 1e-6f);
}

TEST(PilotTest, TurnsTakeTheShortWayRound) {
  EXPECT_FLOAT_EQ(turnBetween(170.0f, -170.0f), 20.0f);
  EXPECT_FLOAT_EQ(turnBetween(-170.0f, 170.0f), -20.0f);
  EXPECT_FLOAT_EQ(turnBetween(720.0f + 10.0f, 0.0f), -10.0f);
  EXPECT_FLOAT_EQ(turnBetween(0.0f, 180.0f), -180.0f);
}

TEST(PilotTest, TheMouseTurnsAtMostOneStepAFrameInWholePixels) {
  BotView view;
  view.yaw = 350.0f;
  view.pitch = 0.0f;
  Pilot pilot(view);
  pilot.look(2.1f, 5.0f);  // 12.1 degrees to the right, 5 down
  replay::FrameInput frame = pilot.input();
  EXPECT_EQ(frame.mouseX, 61) << "0.2 degrees a pixel";
  EXPECT_EQ(frame.mouseY, 25);
  pilot.look(170.0f, -89.0f);
  frame = pilot.input();
  EXPECT_EQ(frame.mouseX, -static_cast<int>(Pilot::maxTurn / 0.2f));
  EXPECT_EQ(frame.mouseY, -static_cast<int>(Pilot::maxTurn / 0.2f));
}

TEST(PilotTest, MovesWithTheKeysClosestToTheWantedWayAfterTheTurn) {
  BotView view;
  view.yaw = 90.0f;  // looking along +x
  Pilot pilot(view);
  const auto keysFor = [&pilot](const glm::vec2& way) {
    pilot.move(way);
    return pilot.input().keys;
  };
  EXPECT_EQ(keysFor({1.0f, 0.0f}), std::set<Key>{Key::W});
  EXPECT_EQ(keysFor({0.0f, 1.0f}), std::set<Key>{Key::D}) << "+z is to the right";
  EXPECT_EQ(keysFor({-1.0f, -1.0f}), (std::set<Key>{Key::S, Key::A}));
  EXPECT_TRUE(keysFor({0.0f, 0.0f}).empty());
  pilot.jump();
  pilot.swing();
  const replay::FrameInput frame = pilot.input();
  EXPECT_TRUE(frame.keys.count(Key::Space));
  EXPECT_TRUE(frame.mouseButton);

  BotView turning;
  turning.yaw = 60.0f;
  Pilot turner(turning);
  turner.look(75.0f, 0.0f);  // +z lies 120 degrees right of the view, 105 after the turn
  turner.move({0.0f, 1.0f});
  EXPECT_EQ(turner.input().keys, std::set<Key>{Key::D});
}

}  // namespace
}  // namespace Vexa::bot
