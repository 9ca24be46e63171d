#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace Vexa::test {

/// How a program run on a damaged file ended: the outcome ("loads", "model
/// message", "texture message", "animation message", "level message", "shader
/// message", "sound message"; or what must never happen: "crash or abort (signal
/// N)", "hang", "out of memory", "unexpected ending") and the last line it wrote to
/// standard error.
struct Ending {
  std::string outcome;
  std::string message;

  /// An end the game chose: it loaded, or it stopped with one of its messages and -1.
  bool controlled() const;
};

/// Runs `arguments` (the program first) in `folder` as a child process under a
/// memory limit of 3 GiB beyond the caller's and a time limit of `seconds`.
Ending runIn(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
             unsigned seconds);

/// Counts of outcomes, printed as a table.
using OutcomeCounts = std::map<std::string, int>;
std::string table(const std::string& title, const OutcomeCounts& counts);

}  // namespace Vexa::test
