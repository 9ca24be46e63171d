#pragma once

#include <string>

namespace Vexa::test {

/// What a program run through the shell left: its wait status and what it wrote
/// to the standard output (append "2>&1" to the command to take its errors too).
struct ProgramRun {
  int status = -1;
  std::string output;

  bool exitedWith(int code) const;
  /// Runs `command` through the shell and waits for it to end.
  static ProgramRun of(const std::string& command);
};

}  // namespace Vexa::test
