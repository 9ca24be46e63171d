#include "support/ProgramRun.h"

#include <sys/wait.h>

#include <cstdio>

namespace Vexa::test {

bool ProgramRun::exitedWith(int code) const {
  return WIFEXITED(status) && WEXITSTATUS(status) == code;
}

ProgramRun ProgramRun::of(const std::string& command) {
  ProgramRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[256];
  while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) run.output += chunk;
  run.status = pclose(pipe);
  return run;
}

}  // namespace Vexa::test
