#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace Vexa::test {

/// A stand-in display that hangs up on its first few connections, as a busy X
/// server does when its queue of new clients overflows, and relays every later
/// connection to the real display of $DISPLAY. Point DISPLAY at `name()`.
class RefusingDisplay {
 public:
  explicit RefusingDisplay(int refusals);
  ~RefusingDisplay();
  RefusingDisplay(const RefusingDisplay&) = delete;
  RefusingDisplay& operator=(const RefusingDisplay&) = delete;

  const std::string& name() const { return displayName; }
  int refused() const { return refusedCount; }

 private:
  void acceptClients();

  std::string realSocket;
  std::string socketPath;
  std::string displayName;
  int listener = -1;
  int refusalsLeft;
  std::atomic<int> refusedCount{0};
  std::thread acceptor;
  std::vector<std::thread> relays;
};

}  // namespace Vexa::test
