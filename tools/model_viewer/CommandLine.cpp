#include "CommandLine.h"

#include <cstdlib>

namespace Vexa::viewer {

CommandLine::CommandLine(int argc, char** argv, Refusal refuse)
    : count(argc), values(argv), refusal(refuse) {}

std::string CommandLine::word(const std::string& what) {
  if (!more()) refuse("missing " + what);
  return values[next++];
}

double CommandLine::number(const std::string& what) {
  const std::string text = word(what);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0') refuse("not a number: " + text);
  return value;
}

long CommandLine::positiveWhole(const std::string& what) {
  const std::string text = word(what);
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 1) refuse(what + " must be a whole number above 0");
  return value;
}

void CommandLine::refuse(const std::string& problem) const {
  refusal(problem);
  std::exit(2);
}

}  // namespace Vexa::viewer
