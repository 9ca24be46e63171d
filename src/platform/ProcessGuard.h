#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Vexa {

/// Runs a piece of work in a child process under memory and time limits, so that a
/// library which crashes, aborts, hangs or runs away with memory on hostile input
/// cannot take the caller with it. The work's answer comes back as bytes; the
/// child shares nothing else with the caller and never runs the caller's exit code.
class ProcessGuard {
 public:
  struct Limits {
    /// Address space the child may take beyond what it inherits.
    std::size_t memoryBytes;
    /// Wall-clock seconds before the child is ended.
    unsigned seconds;
    /// The largest answer taken back.
    std::size_t answerBytes;
  };

  /// The child's answer, or, when it gave none, why: "ended with signal 6
  /// (Aborted)", "needed more than 1024 MiB", "took longer than 20 s", with the
  /// last line the child wrote to standard error where it wrote one.
  struct Outcome {
    std::optional<std::string> answer;
    std::string failure;
  };

  /// Runs `work` in a child under `limits`. Never throws; a failure to start the
  /// child is an outcome like any other.
  static Outcome run(const std::function<std::string()>& work, const Limits& limits);

  /// One child, started at the first request, that answers requests one at a time:
  /// a process started once costs far less than one per request. Its memory limit
  /// holds for its whole life, the time limit for each request. Once a request has
  /// failed the child is gone and every later request fails the same way. A process
  /// forked from the owner (a test's death test) starts a child of its own and
  /// leaves the owner's alone.
  class Worker {
   public:
    using Work = std::function<std::string(const std::string& request)>;

    Worker(Work work, const Limits& limits);
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    Outcome ask(const std::string& request);

   private:
    struct Channels;
    void start();

    Work work;
    Limits limits;
    std::unique_ptr<Channels> channels;
    std::string failure;
    int owner = 0;
  };
};

}  // namespace Vexa
