#include "ViewerOptions.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>

namespace Vexa::viewer {

namespace {

std::uint32_t frameNumber(const tools::Program& program, const std::string& text, long least) {
  const long frame = program.whole(text, "a frame number", least);
  if (frame > std::numeric_limits<std::uint32_t>::max())
    program.refuse("no clip has frame " + text);
  return static_cast<std::uint32_t>(frame);
}

}  // namespace

ViewerOptions ViewerOptions::read(tools::Program& program, int argc, char** argv) {
  ViewerOptions options;
  program
      .option("size", {"WIDTHxHEIGHT"}, "the picture's size in pixels (default 640x480)",
              [&](const auto& words) {
                int used = 0;
                if (std::sscanf(words[0].c_str(), "%dx%d%n", &options.width, &options.height,
                                &used) != 2 ||
                    words[0][static_cast<std::size_t>(used)] != '\0' || options.width < 1 ||
                    options.height < 1) {
                  program.refuse("the size is WIDTHxHEIGHT, not '" + words[0] + "'");
                }
              })
      .option("time", {"TICKS"}, "renders the clip's pose at TICKS (default: the clip's start)",
              [&](const auto& words) { options.time = program.number(words[0], "the time"); })
      .option("segment", {"FIRST", "LAST", "FRAMES"},
              "plays frames FIRST to LAST of the clip cut into FRAMES frames and\n"
              "renders N moments of it side by side",
              [&](const auto& words) {
                options.segment =
                    Segment{"", frameNumber(program, words[0], 0),
                            frameNumber(program, words[1], 0), frameNumber(program, words[2], 1)};
              })
      .option("samples", {"N"}, "the number of moments a segment shows (default 6)",
              [&](const auto& words) {
                options.samples = static_cast<int>(program.whole(words[0], "the samples"));
              })
      .operands(2, 2, [&](const auto& words) {
        options.model = std::filesystem::absolute(words[0]).string();
        options.output = std::filesystem::absolute(words[1]).string();
      });
  program.read(argc, argv);
  return options;
}

}  // namespace Vexa::viewer
