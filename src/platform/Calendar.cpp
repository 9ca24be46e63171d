#include "platform/Calendar.h"

#include <cstdlib>

namespace Vexa {

namespace {

Calendar::Source& source() {
  static Calendar::Source current;
  return current;
}

}  // namespace

std::time_t Calendar::seconds() {
  return source() ? source()() : std::time(nullptr);
}

int Calendar::reseededRand() {
  std::srand(static_cast<unsigned>(seconds()));
  return std::rand();
}

void Calendar::use(Source replacement) {
  source() = std::move(replacement);
}

}  // namespace Vexa
