#include "ViewerOptions.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "CommandLine.h"

namespace Vexa::viewer {

namespace {

[[noreturn]] void usage(const std::string& problem) {
  std::cerr << problem << "\n"
            << "usage: vexa_model_viewer MODEL OUTPUT.png [--size WIDTHxHEIGHT] [--time TICKS]\n"
               "                         [--segment FIRST LAST FRAMES [--samples N]]\n"
               "  --time     renders the clip's pose at TICKS (default: the clip's start)\n"
               "  --segment  plays frames FIRST to LAST of the clip cut into FRAMES frames and\n"
               "             renders N moments of it side by side (default 6)\n";
  std::exit(2);
}

std::uint32_t frameNumber(CommandLine& arguments) {
  const double value = arguments.number("argument");
  if (value < 0 || value != static_cast<std::uint32_t>(value)) usage("not a frame number");
  return static_cast<std::uint32_t>(value);
}

}  // namespace

ViewerOptions ViewerOptions::parse(int argc, char** argv) {
  CommandLine arguments(argc, argv, usage);
  ViewerOptions options;
  options.model = std::filesystem::absolute(arguments.word("argument")).string();
  options.output = std::filesystem::absolute(arguments.word("argument")).string();
  while (arguments.more()) {
    const std::string option = arguments.word("argument");
    if (option == "--size") {
      if (std::sscanf(arguments.word("argument").c_str(), "%dx%d", &options.width,
                      &options.height) != 2 ||
          options.width < 1 || options.height < 1) {
        usage("the size is WIDTHxHEIGHT");
      }
    } else if (option == "--time") {
      options.time = arguments.number("argument");
    } else if (option == "--segment") {
      Segment segment;
      segment.first = frameNumber(arguments);
      segment.last = frameNumber(arguments);
      segment.frameCount = frameNumber(arguments);
      if (segment.frameCount == 0) usage("a clip has at least one frame");
      options.segment = segment;
    } else if (option == "--samples") {
      options.samples = static_cast<int>(frameNumber(arguments));
      if (options.samples < 1) usage("at least one sample");
    } else {
      usage("unknown option: " + option);
    }
  }
  return options;
}

}  // namespace Vexa::viewer
