#pragma once

#include <string>

namespace Vexa::viewer {

/// A tool's arguments, read front to back after the program's name. A missing or
/// malformed argument is handed to the tool's `refuse`, which prints its usage and
/// ends the program (status 2 at the latest).
class CommandLine {
 public:
  using Refusal = void (*)(const std::string& problem);

  CommandLine(int argc, char** argv, Refusal refuse);

  bool more() const { return next < count; }
  /// The next argument; `what` names it when it is missing.
  std::string word(const std::string& what);
  double number(const std::string& what);
  long positiveWhole(const std::string& what);

 private:
  [[noreturn]] void refuse(const std::string& problem) const;

  int count;
  char** values;
  Refusal refusal;
  int next = 1;
};

}  // namespace Vexa::viewer
