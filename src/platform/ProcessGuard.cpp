#include "platform/ProcessGuard.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <new>

namespace Vexa {

namespace {

// Sanitizers reserve terabytes of address space and map more as they go, so under
// them an address-space limit fails their own bookkeeping; only the time limit
// applies there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif
#else
constexpr bool sanitized = false;
#endif

// The child's status when an allocation fails under its limit.
constexpr int outOfMemoryStatus = 3;
// What the child's standard error may leave behind for the reason: the start of
// its last line.
constexpr std::size_t keptErrorBytes = 4096;

/// The last line of a stream of text, kept up to its first `keptErrorBytes`.
class LastLine {
 public:
  void append(const char* text, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      if (text[i] == '\n' || text[i] == '\r') {
        if (!current.empty()) last = std::move(current);
        current.clear();
      } else if (current.size() < keptErrorBytes) {
        current += text[i];
      }
    }
  }
  const std::string& line() const { return current.empty() ? last : current; }

 private:
  std::string current;
  std::string last;
};

std::size_t inheritedAddressSpace() {
  std::size_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

void limitMemory(std::size_t extraBytes) {
  if (sanitized) return;
  const auto limit = static_cast<rlim_t>(inheritedAddressSpace() + extraBytes);
  const rlimit memory{limit, limit};
  setrlimit(RLIMIT_AS, &memory);
  std::set_new_handler([] { _exit(outOfMemoryStatus); });
}

bool writeAll(int descriptor, const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = write(descriptor, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

[[noreturn]] void runChild(const std::function<std::string()>& work,
                           const ProcessGuard::Limits& limits, int answerPipe, int errorPipe) {
  dup2(errorPipe, STDERR_FILENO);
  close(errorPipe);
  limitMemory(limits.memoryBytes);
  const std::string answer = work();
  _exit(writeAll(answerPipe, answer) ? 0 : 2);
}

/// Reads the child's two pipes until both close, the deadline passes or the answer
/// grows past its limit.
class ChildPipes {
 public:
  enum class End { Closed, Late, TooLong };

  ChildPipes(int answer, int error) : descriptors{{answer, POLLIN, 0}, {error, POLLIN, 0}} {}

  End drain(const ProcessGuard::Limits& limits) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(limits.seconds);
    while (descriptors[0].fd >= 0 || descriptors[1].fd >= 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return End::Late;
      const int ready = poll(descriptors, 2, static_cast<int>(left));
      if (ready < 0 && errno != EINTR) return End::Closed;
      if (ready > 0 && !readReady(0, answer) && answer.size() > limits.answerBytes)
        return End::TooLong;
      if (ready > 0) readReady(1, errorText);
      error.append(errorText.data(), errorText.size());
      errorText.clear();
    }
    return answer.size() > limits.answerBytes ? End::TooLong : End::Closed;
  }

  ~ChildPipes() {
    for (pollfd& pipe : descriptors)
      if (pipe.fd >= 0) close(pipe.fd);
  }
  ChildPipes(const ChildPipes&) = delete;
  ChildPipes& operator=(const ChildPipes&) = delete;

  std::string answer;
  LastLine error;

 private:
  std::string errorText;
  // Reads what pipe `which` holds; false when it delivered bytes and stays open.
  bool readReady(int which, std::string& into) {
    pollfd& pipe = descriptors[which];
    if (pipe.fd < 0 || !(pipe.revents & (POLLIN | POLLHUP | POLLERR))) return true;
    char chunk[65536];
    const ssize_t count = read(pipe.fd, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) return false;
    if (count <= 0) {
      close(pipe.fd);
      pipe.fd = -1;
      return true;
    }
    into.append(chunk, static_cast<std::size_t>(count));
    return false;
  }

  pollfd descriptors[2];
};

int waitFor(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return 0;
  }
  return status;
}

std::string mebibytes(std::size_t bytes) {
  return std::to_string(bytes >> 20) + " MiB";
}

std::string reason(int status, ChildPipes::End end, const ProcessGuard::Limits& limits) {
  if (end == ChildPipes::End::Late)
    return "took longer than " + std::to_string(limits.seconds) + " s";
  if (end == ChildPipes::End::TooLong)
    return "answered with more than " + mebibytes(limits.answerBytes);
  if (WIFSIGNALED(status)) {
    const int signal = WTERMSIG(status);
    return "ended with signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
  }
  if (WEXITSTATUS(status) == outOfMemoryStatus)
    return "needed more than " + mebibytes(limits.memoryBytes);
  return "ended with status " + std::to_string(WEXITSTATUS(status));
}

std::string systemFailure(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

ProcessGuard::Outcome ProcessGuard::run(const std::function<std::string()>& work,
                                        const Limits& limits) {
  int answerPipe[2];
  int errorPipe[2];
  // Closed on exec, so that no other child started meanwhile holds them open.
  if (pipe2(answerPipe, O_CLOEXEC) != 0)
    return {std::nullopt, systemFailure("could not start the child")};
  if (pipe2(errorPipe, O_CLOEXEC) != 0) {
    close(answerPipe[0]);
    close(answerPipe[1]);
    return {std::nullopt, systemFailure("could not start the child")};
  }
  const pid_t child = fork();
  if (child == 0) {
    close(answerPipe[0]);
    close(errorPipe[0]);
    runChild(work, limits, answerPipe[1], errorPipe[1]);
  }
  close(answerPipe[1]);
  close(errorPipe[1]);
  ChildPipes pipes(answerPipe[0], errorPipe[0]);
  if (child < 0) return {std::nullopt, systemFailure("could not start the child")};
  const ChildPipes::End end = pipes.drain(limits);
  if (end != ChildPipes::End::Closed) kill(child, SIGKILL);
  const int status = waitFor(child);
  if (end == ChildPipes::End::Closed && WIFEXITED(status) && WEXITSTATUS(status) == 0)
    return {std::move(pipes.answer), ""};
  std::string failure = reason(status, end, limits);
  const std::string& said = pipes.error.line();
  if (!said.empty()) failure += ": " + said;
  return {std::nullopt, failure};
}

}  // namespace Vexa
