#include "ViewerOptions.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

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

class Arguments {
 public:
  Arguments(int argc, char** argv) : count(argc), values(argv) {}

  bool more() const { return next < count; }
  std::string word() {
    if (!more()) usage("missing argument");
    return values[next++];
  }
  double number() {
    const std::string text = word();
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0') usage("not a number: " + text);
    return value;
  }
  std::uint32_t frame() {
    const double value = number();
    if (value < 0 || value != static_cast<std::uint32_t>(value)) usage("not a frame number");
    return static_cast<std::uint32_t>(value);
  }

 private:
  int count;
  char** values;
  int next = 1;
};

}  // namespace

ViewerOptions ViewerOptions::parse(int argc, char** argv) {
  Arguments arguments(argc, argv);
  ViewerOptions options;
  options.model = std::filesystem::absolute(arguments.word()).string();
  options.output = std::filesystem::absolute(arguments.word()).string();
  while (arguments.more()) {
    const std::string option = arguments.word();
    if (option == "--size") {
      if (std::sscanf(arguments.word().c_str(), "%dx%d", &options.width, &options.height) != 2 ||
          options.width < 1 || options.height < 1) {
        usage("the size is WIDTHxHEIGHT");
      }
    } else if (option == "--time") {
      options.time = arguments.number();
    } else if (option == "--segment") {
      Segment segment;
      segment.first = arguments.frame();
      segment.last = arguments.frame();
      segment.frameCount = arguments.frame();
      if (segment.frameCount == 0) usage("a clip has at least one frame");
      options.segment = segment;
    } else if (option == "--samples") {
      options.samples = static_cast<int>(arguments.frame());
      if (options.samples < 1) usage("at least one sample");
    } else {
      usage("unknown option: " + option);
    }
  }
  return options;
}

}  // namespace Vexa::viewer
