#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Program.h"

namespace Vexa::tools {
namespace {

/// A command line as main receives it, from words.
class Arguments {
 public:
  explicit Arguments(std::vector<std::string> words) : words(std::move(words)) {
    for (std::string& word : this->words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
  }
  int count() const { return static_cast<int>(words.size()); }
  char** values() { return pointers.data(); }

 private:
  std::vector<std::string> words;
  std::vector<char*> pointers;
};

/// What a test program was handed, in the order it was handed over.
struct Seen {
  std::vector<std::string> taken;

  Program program() {
    Program program("vexa_test", {"INPUT [OUTPUT] [options]"}, "A program for tests.");
    program.option("size", {"N"}, "a size", [this](const auto& words) { take("size", words); })
        .option("segment", {"FIRST", "LAST", "FRAMES"}, "a segment",
                [this](const auto& words) { take("segment", words); })
        .option("samples", {"N"}, "samples", [this](const auto& words) { take("samples", words); })
        .option("watch", {}, "a flag", [this](const auto& words) { take("watch", words); })
        .operands(1, 2, [this](const auto& words) { take("operands", words); });
    return program;
  }

  std::vector<std::string> read(std::vector<std::string> words) {
    taken.clear();
    words.insert(words.begin(), "/some/folder/vexa_test");
    Arguments arguments(std::move(words));
    program().read(arguments.count(), arguments.values());
    return taken;
  }

 private:
  void take(const std::string& what, const std::vector<std::string>& words) {
    std::string line = what;
    for (const std::string& word : words) line += " " + word;
    taken.push_back(line);
  }
};

// The same reader serves again in the same process, whatever the environment
// says about reordering, and hands everything over in the order given.
TEST(ProgramTest, TakesOptionsAndOperandsInAnyOrderAndInAnyForm) {
  Seen seen;
  const std::vector<std::string> expected = {"size 3", "segment 0 10 -5", "watch",
                                             "operands in.dae out.png"};
  EXPECT_EQ(
      seen.read({"in.dae", "--size", "3", "out.png", "--segment", "0", "10", "-5", "--watch"}),
      expected);
  EXPECT_EQ(seen.read({"--size=3", "--seg", "0", "10", "-5", "in.dae", "--wa", "out.png"}),
            expected);
  setenv("POSIXLY_CORRECT", "1", 1);
  EXPECT_EQ(
      seen.read({"in.dae", "--size", "3", "--segment=0", "10", "-5", "--watch", "--", "out.png"}),
      expected);
  unsetenv("POSIXLY_CORRECT");
  EXPECT_EQ(seen.read({"--", "--watch"}), std::vector<std::string>{"operands --watch"});
}

TEST(ProgramTest, EndsMalformedCommandLinesWithTheUsageAndStatusTwo) {
  Seen seen;
  const std::string usage = "usage: vexa_test INPUT \\[OUTPUT\\] \\[options\\]\noptions:\n";
  EXPECT_EXIT(seen.read({"in.dae", "--segment", "0", "10"}), testing::ExitedWithCode(2),
              "^vexa_test: option '--segment' needs FIRST LAST FRAMES\n" + usage);
  EXPECT_EXIT(seen.read({"in.dae", "--s", "3"}), testing::ExitedWithCode(2),
              "^vexa_test: option '--s' is ambiguous");
  EXPECT_EXIT(seen.read({"in.dae", "--watch=yes"}), testing::ExitedWithCode(2),
              "^vexa_test: option '--watch' doesn't allow an argument\n" + usage);
  EXPECT_EXIT(seen.read({"--watch"}), testing::ExitedWithCode(2),
              "^vexa_test: too few operands\n" + usage);
  EXPECT_EXIT(seen.read({"a", "b", "c"}), testing::ExitedWithCode(2),
              "^vexa_test: unexpected operand 'c'\n" + usage);
}

TEST(ProgramTest, RefusesWhatIsNoNumberOrOutOfRange) {
  const Program program("vexa_test", {""}, "");
  EXPECT_EQ(program.whole("12", "the level"), 12);
  EXPECT_EQ(program.whole("0", "a frame", 0), 0);
  EXPECT_DOUBLE_EQ(program.number("-2.5e1", "the time"), -25.0);
  for (const char* whole : {"0", "", "3x", "1.5", "99999999999999999999"}) {
    EXPECT_EXIT(
        program.whole(whole, "the level"), testing::ExitedWithCode(2),
        std::string("^vexa_test: the level must be a whole number from 1, not '") + whole + "'\n")
        << whole;
  }
  for (const char* number : {"", "nan", "inf", "1e999", "2s"}) {
    EXPECT_EXIT(program.number(number, "the time"), testing::ExitedWithCode(2),
                std::string("^vexa_test: the time must be a number, not '") + number + "'\n")
        << number;
  }
}

}  // namespace
}  // namespace Vexa::tools
