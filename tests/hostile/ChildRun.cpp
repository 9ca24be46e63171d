#include "ChildRun.h"

#include <fcntl.h>
#include <unistd.h>

#include <sstream>

#include "platform/ProcessGuard.h"

namespace Vexa::test {

namespace {

constexpr std::size_t memoryLimit = std::size_t{3} << 30;

const std::vector<std::pair<std::string, std::string>> messageOutcomes = {
    {"model could not be loaded: ", "model message"},
    {"could not load image texture ", "texture message"},
    {"animations keyframe number is not synchron", "animation message"},
    {"level file ", "level message"},
    {"could not create shader file: ", "shader message"},
    {"could not compile shader: ", "shader message"},
    {"could not link shader program: ", "shader message"},
    {"could not find sound ", "sound message"}};

bool startsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

// The reasons ProcessGuard gives: "ended with status N: last line", "ended with
// signal N (name): last line", "took longer than ...", "needed more than ...".
Ending endingOf(const std::string& failure) {
  const std::string exited = "ended with status 255: ";
  if (startsWith(failure, exited)) {
    const std::string message = failure.substr(exited.size());
    for (const auto& [start, outcome] : messageOutcomes)
      if (startsWith(message, start)) return {outcome, message};
    return {"unexpected ending", failure};
  }
  if (startsWith(failure, "ended with signal ")) {
    const std::string signal = failure.substr(18, failure.find(' ', 18) - 18);
    // Allocations refused under the limit end as std::bad_alloc, which aborts.
    if (failure.find("bad_alloc") != std::string::npos) return {"out of memory", failure};
    return {"crash or abort (signal " + signal + ")", failure};
  }
  if (startsWith(failure, "took longer")) return {"hang", failure};
  if (failure.find("bad_alloc") != std::string::npos) return {"out of memory", failure};
  return {"unexpected ending", failure};
}

}  // namespace

bool Ending::controlled() const {
  if (outcome == "loads") return true;
  for (const auto& entry : messageOutcomes)
    if (outcome == entry.second) return true;
  return false;
}

Ending runIn(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
             unsigned seconds) {
  const auto start = [&]() -> std::string {
    if (chdir(folder.c_str()) != 0) _exit(126);
    const int nothing = open("/dev/null", O_RDWR);
    dup2(nothing, STDIN_FILENO);
    dup2(nothing, STDOUT_FILENO);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  };
  const ProcessGuard::Outcome outcome = ProcessGuard::run(start, {memoryLimit, seconds, 1 << 20});
  if (outcome.answer) return {"loads", ""};
  return endingOf(outcome.failure);
}

std::string table(const std::string& title, const OutcomeCounts& counts) {
  std::ostringstream text;
  int total = 0;
  text << title << "\n";
  for (const auto& [outcome, count] : counts) {
    text << "  " << outcome << ": " << count << "\n";
    total += count;
  }
  text << "  total: " << total << "\n";
  return text.str();
}

}  // namespace Vexa::test
