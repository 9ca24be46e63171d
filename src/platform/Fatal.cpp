#include "platform/Fatal.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace Vexa {

namespace {

// Stands in for the Windows console's "pause": only a terminal has someone to
// read the message, so redirected or piped input never blocks the exit.
void pauseForReader() {
  if (!isatty(STDIN_FILENO)) return;
  std::cout << "Press Enter to continue . . ." << std::flush;
  std::string line;
  std::getline(std::cin, line);
}

}  // namespace

void fatalError(const std::string& message) {
  std::cerr << message << std::endl;
  pauseForReader();
  std::exit(-1);
}

}  // namespace Vexa
