#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "model/ScratchFolder.h"
#include "support/ProgramRun.h"

namespace Vexa::test {
namespace {

namespace fs = std::filesystem;

/// A tool's run with its standard error kept apart from its output.
struct ToolRun : ProgramRun {
  std::string err;
};

/// Runs `program` of the game's folder with `arguments` in the working folder,
/// its standard error kept apart in a file outside that folder.
ToolRun runTool(const fs::path& gameFolder, const std::string& program,
                const std::string& arguments) {
  std::string errPattern = (fs::temp_directory_path() / "vexa-tool-err-XXXXXX").string();
  const int errFile = mkstemp(errPattern.data());
  close(errFile);
  ToolRun run{ProgramRun::of("'" + (gameFolder / program).string() + "' " + arguments + " 2>'" +
                             errPattern + "'"),
              {}};
  std::ostringstream err;
  err << std::ifstream(errPattern).rdbuf();
  run.err = err.str();
  fs::remove(errPattern);
  return run;
}

std::set<fs::path> folderContents(const fs::path& folder) {
  std::set<fs::path> contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) contents.insert(entry.path());
  return contents;
}

struct Tool {
  std::string program;
  /// A command line with a malformed argument or a wrong number of operands.
  std::string badArguments;
};

void PrintTo(const Tool& tool, std::ostream* out) {
  *out << tool.program << " " << tool.badArguments;
}

std::string toolName(const testing::TestParamInfo<Tool>& info) {
  return info.param.program;
}

class ToolCommandLineTest : public testing::TestWithParam<Tool> {
 protected:
  ToolRun run(const std::string& arguments) const {
    return runTool(gameFolder, GetParam().program, arguments);
  }

  const fs::path gameFolder = fs::current_path();
  ScratchFolder scratch;
};

// Runs in a scratch folder: asking for help or the version, or getting the
// command line wrong, writes nothing and starts no game.
TEST_P(ToolCommandLineTest, HelpsReportsItsVersionAndRefusesMalformedCommandLines) {
  const std::string& program = GetParam().program;
  const std::set<fs::path> before = folderContents(scratch.path());
  const std::string usage = "usage: " + program + " ";

  const ToolRun help = run("--help");
  EXPECT_TRUE(help.exitedWith(0)) << help.err;
  EXPECT_EQ(help.output.rfind(usage, 0), 0u) << help.output;
  EXPECT_NE(help.output.find("  --help "), std::string::npos) << help.output;
  EXPECT_EQ(help.err, "");

  const ToolRun version = run("--version");
  EXPECT_TRUE(version.exitedWith(0)) << version.err;
  EXPECT_EQ(version.output, program + " " + VEXA_VERSION + "\n");

  for (const std::string& malformed : {std::string("--no-such-option"), GetParam().badArguments}) {
    const ToolRun refused = run(malformed);
    EXPECT_TRUE(refused.exitedWith(2)) << malformed << ": " << refused.output << refused.err;
    EXPECT_EQ(refused.output, "") << malformed;
    EXPECT_EQ(refused.err.rfind(program + ": ", 0), 0u) << malformed << ": " << refused.err;
    EXPECT_NE(refused.err.find("\n" + usage), std::string::npos)
        << malformed << ": " << refused.err;
  }
  EXPECT_EQ(folderContents(scratch.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Tools, ToolCommandLineTest,
                         testing::Values(Tool{"vexa_model_viewer",
                                              "model.dae out.png --size 64by48"},
                                         Tool{"vexa_contact_sheets", "first-folder second-folder"},
                                         Tool{"vexa_replay", "run.replay --frames none"},
                                         Tool{"vexa_bot", "run.replay --level 9"},
                                         Tool{"vexa_benchmark", "run.replay --frames 0"}),
                         toolName);

/// The bot's last word on the frames: how many it drew, and the wall and simulated
/// seconds it spent in level 1.
struct BotReport {
  int drawnFrames = -1;
  double simulated = 0.0;
  double wall = 0.0;
};

BotReport botReport(const std::string& output) {
  BotReport report;
  std::smatch match;
  if (std::regex_search(output, match, std::regex(R"(\nmain pass\s+(\d+))")))
    report.drawnFrames = std::stoi(match[1]);
  if (std::regex_search(output, match,
                        std::regex(R"(level 1: ([\d.e-]+) s simulated, ([\d.e-]+) s wall)"))) {
    report.simulated = std::stod(match[1]);
    report.wall = std::stod(match[2]);
  }
  return report;
}

// Unwatched, the bot draws none of its frames; watched, it draws each one and
// holds it for its frame time.
TEST(BotProgramTest, DrawsEveryFrameAtItsOwnPaceOnlyWhenWatched) {
  const fs::path replay =
      fs::temp_directory_path() / ("vexa-watched-bot-" + std::to_string(getpid()) + ".replay");
  const std::string played = "'" + replay.string() + "' --frames 12";

  const ToolRun watched = runTool(fs::current_path(), "vexa_bot", played + " --watch");
  EXPECT_TRUE(watched.exitedWith(0)) << watched.output << watched.err;
  const BotReport seen = botReport(watched.output);
  EXPECT_EQ(seen.drawnFrames, 12) << watched.output;
  EXPECT_NEAR(seen.simulated, 11.0 / 60.0, 1e-4) << watched.output;
  EXPECT_GE(seen.wall, seen.simulated) << watched.output;

  const ToolRun unwatched = runTool(fs::current_path(), "vexa_bot", played);
  EXPECT_TRUE(unwatched.exitedWith(0)) << unwatched.output << unwatched.err;
  EXPECT_EQ(botReport(unwatched.output).drawnFrames, 0) << unwatched.output;
  fs::remove(replay);
}

// A replay that cannot be written is refused before any frame is played.
TEST(BotProgramTest, RefusesAReplayItCannotWriteBeforePlaying) {
  const std::string replay =
      (fs::temp_directory_path() / ("vexa-no-folder-" + std::to_string(getpid())) / "run.replay")
          .string();
  const ToolRun refused = runTool(fs::current_path(), "vexa_bot", "'" + replay + "' --frames 12");
  EXPECT_TRUE(refused.exitedWith(1)) << refused.output << refused.err;
  EXPECT_EQ(refused.err, "vexa_bot: could not write " + replay + "\n");
  EXPECT_EQ(refused.output, "");
}

}  // namespace
}  // namespace Vexa::test
