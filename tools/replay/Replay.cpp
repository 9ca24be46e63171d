#include "Replay.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <istream>
#include <limits>
#include <numeric>
#include <ostream>
#include <sstream>

#include "app/Application.h"

namespace Vexa::replay {

namespace {

std::optional<long long> wholeNumber(const std::string& word) {
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0' || errno == ERANGE) return std::nullopt;
  return value;
}

std::optional<double> number(const std::string& word) {
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (word.empty() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<Key> keyNamed(const std::string& name) {
  for (const auto& [key, keyName] : keyNames()) {
    if (keyName == name) return key;
  }
  return std::nullopt;
}

/// Far more than a hand moves a mouse in a frame, and far from overflowing the
/// controls' arithmetic.
constexpr long long maxMotion = 10000;

std::string quoted(const std::string& word) {
  return "'" + word + "'";
}

/// Reads a replay line by line. A line is a setting ("frame-time 0.0166",
/// "calendar 1700000000", "level 2"), which must come before the first frames,
/// or a frame count with that span's input ("30 W A click mouse 5 -2").
class ReplayParser {
 public:
  /// False with `problem` set when the line is malformed.
  bool read(const std::string& line) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string first;
    if (!(words >> first)) return true;
    if (first == "frame-time" || first == "calendar" || first == "level") {
      return setting(first, words);
    }
    return span(first, words);
  }

  /// False with `problem` set when the replay is incomplete.
  bool finish() {
    if (replay.spans.empty()) problem = "the replay has no frames";
    return !replay.spans.empty();
  }

  Replay replay;
  std::string problem;

 private:
  bool fail(const std::string& what) {
    problem = what;
    return false;
  }

  bool setting(const std::string& name, std::istringstream& words) {
    if (!replay.spans.empty()) return fail(name + " must come before the first frames");
    if (!settingsGiven.insert(name).second) return fail(name + " is given twice");
    std::string value;
    std::string extra;
    words >> value;
    if (words >> extra) return fail(name + " takes one value");
    if (name == "frame-time") return setFrameTime(value);
    if (name == "calendar") return setCalendar(value);
    return setStartLevel(value);
  }

  bool setFrameTime(const std::string& value) {
    const auto seconds = number(value);
    if (!seconds || *seconds <= 0.0) {
      return fail("frame-time takes seconds above zero, not " + quoted(value));
    }
    replay.frameTime = *seconds;
    return true;
  }

  bool setCalendar(const std::string& value) {
    const auto seconds = wholeNumber(value);
    if (!seconds || *seconds < 0) {
      return fail("calendar takes whole seconds since 1970, not " + quoted(value));
    }
    replay.calendarStart = static_cast<std::time_t>(*seconds);
    return true;
  }

  bool setStartLevel(const std::string& value) {
    const auto level = wholeNumber(value);
    if (!level || *level < 1 || *level > Application::lastLevel) {
      return fail("level takes a level from 1 to " + std::to_string(Application::lastLevel) +
                  ", not " + quoted(value));
    }
    replay.startLevel = static_cast<int>(*level);
    return true;
  }

  bool span(const std::string& first, std::istringstream& words) {
    const auto frames = wholeNumber(first);
    if (!frames || *frames < 1) {
      return fail(quoted(first) + " is neither a setting nor a frame count above zero");
    }
    if (settingsGiven.count("frame-time") == 0 || settingsGiven.count("calendar") == 0) {
      return fail("frame-time and calendar must come before the first frames");
    }
    Span span{static_cast<long>(*frames), {}};
    std::string word;
    while (words >> word) {
      if (!spanWord(word, words, span.input)) return false;
    }
    replay.spans.push_back(span);
    return true;
  }

  bool spanWord(const std::string& word, std::istringstream& words, FrameInput& input) {
    if (word == "click") {
      input.mouseButton = true;
    } else if (word == "mouse") {
      return mouseMotion(words, input);
    } else if (const auto key = keyNamed(word)) {
      input.keys.insert(*key);
    } else {
      std::string known;
      for (const auto& [key, name] : keyNames()) known += " " + name;
      return fail("unknown key or word " + quoted(word) + " (keys:" + known +
                  "; words: click, mouse DX DY)");
    }
    return true;
  }

  bool mouseMotion(std::istringstream& words, FrameInput& input) {
    std::string x;
    std::string y;
    words >> x >> y;
    const auto dx = wholeNumber(x);
    const auto dy = wholeNumber(y);
    if (!dx || !dy || std::llabs(*dx) > maxMotion || std::llabs(*dy) > maxMotion) {
      return fail("mouse takes two whole numbers of pixels, DX and DY, up to " +
                  std::to_string(maxMotion) + " either way");
    }
    input.mouseX = static_cast<int>(*dx);
    input.mouseY = static_cast<int>(*dy);
    return true;
  }

  std::set<std::string> settingsGiven;
};

void writeSpan(std::ostream& out, const Span& span) {
  out << span.frames;
  for (const auto& [key, name] : keyNames()) {
    if (span.input.keys.count(key) != 0) out << ' ' << name;
  }
  if (span.input.mouseButton) out << " click";
  if (span.input.mouseX != 0 || span.input.mouseY != 0) {
    out << " mouse " << span.input.mouseX << ' ' << span.input.mouseY;
  }
  out << '\n';
}

}  // namespace

bool FrameInput::operator==(const FrameInput& other) const {
  return keys == other.keys && mouseButton == other.mouseButton && mouseX == other.mouseX &&
         mouseY == other.mouseY;
}

long Replay::frameCount() const {
  return std::accumulate(spans.begin(), spans.end(), 0L,
                         [](long sum, const Span& span) { return sum + span.frames; });
}

void Replay::append(const FrameInput& input) {
  if (!spans.empty() && spans.back().input == input) {
    ++spans.back().frames;
  } else {
    spans.push_back({1, input});
  }
}

const std::vector<std::pair<Key, std::string>>& keyNames() {
  static const std::vector<std::pair<Key, std::string>> names = {
      {Key::Space, "Space"}, {Key::Left, "Left"}, {Key::Right, "Right"},  {Key::Up, "Up"},
      {Key::Down, "Down"},   {Key::A, "A"},       {Key::D, "D"},          {Key::W, "W"},
      {Key::S, "S"},         {Key::F2, "F2"},     {Key::F3, "F3"},        {Key::F8, "F8"},
      {Key::F9, "F9"},       {Key::F12, "F12"},   {Key::Escape, "Escape"}};
  return names;
}

std::optional<Replay> parseReplay(std::istream& text, std::string& error) {
  ReplayParser parser;
  std::string line;
  for (int number = 1; std::getline(text, line); ++number) {
    if (!parser.read(line)) {
      error = "line " + std::to_string(number) + ": " + parser.problem;
      return std::nullopt;
    }
  }
  if (!parser.finish()) {
    error = parser.problem;
    return std::nullopt;
  }
  return parser.replay;
}

void writeReplay(std::ostream& out, const Replay& replay) {
  out << "frame-time " << std::setprecision(std::numeric_limits<double>::max_digits10)
      << replay.frameTime << '\n'
      << "calendar " << replay.calendarStart << '\n'
      << "level " << replay.startLevel << '\n';
  for (const Span& span : replay.spans) writeSpan(out, span);
}

}  // namespace Vexa::replay
