#include "RandomPlay.h"

#include <algorithm>
#include <random>

namespace Vexa::test {

namespace {

using replay::FrameInput;
using replay::Replay;

/// Long enough for a held toggle to pass the controls' delay between toggles
/// once, short enough that it does not act twice.
constexpr long toggleHold = 10;

const Key movementKeys[] = {Key::W,  Key::A,    Key::S,    Key::D,
                            Key::Up, Key::Down, Key::Left, Key::Right};

class RandomPlayer {
 public:
  explicit RandomPlayer(const RandomPlay& play) : play(play), generator(play.seed) {}

  Replay replay() {
    Replay result{1.0 / 60.0, 1700000000 + static_cast<std::time_t>(play.seed), play.level, {}};
    while (result.frameCount() < play.frames) {
      const long frame = result.frameCount();
      const long room = play.frames - frame;
      if (play.cadence > 0 && frame % play.cadence == 0 && !play.cadencedToggles.empty()) {
        const Key toggle = play.cadencedToggles[static_cast<std::size_t>(frame / play.cadence) %
                                                play.cadencedToggles.size()];
        result.spans.push_back({std::min(toggleHold, room), toggled(playerInput(), toggle)});
      } else if (!play.randomToggles.empty() && chance(0.05)) {
        const Key toggle = play.randomToggles[pick(play.randomToggles.size())];
        result.spans.push_back(
            {std::min(spanLength(frame, 40), room), toggled(playerInput(), toggle)});
      } else {
        result.spans.push_back({std::min(spanLength(frame, 90), room), playerInput()});
      }
    }
    return result;
  }

 private:
  // A span starting at `frame` never runs over the next cadenced toggle.
  long spanLength(long frame, long longest) {
    const long length = std::uniform_int_distribution<long>(1, longest)(generator);
    if (play.cadence == 0 || play.cadencedToggles.empty()) return length;
    return std::min(length, play.cadence - frame % play.cadence);
  }

  FrameInput playerInput() {
    FrameInput input;
    for (const Key key : movementKeys)
      if (chance(0.25)) input.keys.insert(key);
    if (chance(0.15)) input.keys.insert(Key::Space);
    input.mouseButton = chance(0.2);
    if (chance(0.05)) {
      // A leap: the cursor lands thousands of pixels away within one frame.
      input.mouseX = std::uniform_int_distribution<int>(-4000, 4000)(generator);
      input.mouseY = std::uniform_int_distribution<int>(-4000, 4000)(generator);
    } else if (chance(0.8)) {
      input.mouseX = std::uniform_int_distribution<int>(-15, 15)(generator);
      input.mouseY = std::uniform_int_distribution<int>(-10, 10)(generator);
    }
    return input;
  }

  static FrameInput toggled(FrameInput input, Key toggle) {
    input.keys.insert(toggle);
    return input;
  }

  bool chance(double probability) { return std::bernoulli_distribution(probability)(generator); }
  std::size_t pick(std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(generator);
  }

  const RandomPlay& play;
  std::mt19937 generator;
};

}  // namespace

Replay randomReplay(const RandomPlay& play) {
  return RandomPlayer(play).replay();
}

}  // namespace Vexa::test
