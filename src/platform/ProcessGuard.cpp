#include "platform/ProcessGuard.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
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

// A frame: the length of its bytes in eight bytes, then the bytes.
constexpr std::size_t frameHeader = sizeof(std::uint64_t);

std::string frame(const std::string& bytes) {
  const std::uint64_t length = bytes.size();
  return std::string(reinterpret_cast<const char*>(&length), frameHeader) + bytes;
}

std::uint64_t frameLength(const std::string& bytes) {
  std::uint64_t length = 0;
  std::memcpy(&length, bytes.data(), frameHeader);
  return length;
}

bool frameComplete(const std::string& bytes) {
  return bytes.size() >= frameHeader && bytes.size() - frameHeader >= frameLength(bytes);
}

// Sockets, unlike pipes, can be written without a SIGPIPE when the other end is gone.
bool writeAll(int descriptor, const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count =
        send(descriptor, bytes.data() + written, bytes.size() - written, MSG_NOSIGNAL);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

void enterChild(const ProcessGuard::Limits& limits, int errorPipe) {
  dup2(errorPipe, STDERR_FILENO);
  close(errorPipe);
  limitMemory(limits.memoryBytes);
}

[[noreturn]] void runChild(const std::function<std::string()>& work,
                           const ProcessGuard::Limits& limits, int answerSocket, int errorPipe) {
  enterChild(limits, errorPipe);
  _exit(writeAll(answerSocket, work()) ? 0 : 2);
}

// Reads one request frame; false once the caller has gone.
bool readRequest(int socket, std::string& request) {
  request.clear();
  char chunk[4096];
  while (!frameComplete(request)) {
    const ssize_t count = read(socket, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    request.append(chunk, static_cast<std::size_t>(count));
  }
  request.erase(0, frameHeader);
  return true;
}

[[noreturn]] void serveRequests(const ProcessGuard::Worker::Work& work,
                                const ProcessGuard::Limits& limits, int socket, int errorPipe) {
  enterChild(limits, errorPipe);
  std::string request;
  while (readRequest(socket, request))
    if (!writeAll(socket, frame(work(request)))) _exit(2);
  _exit(0);
}

/// Reads the child's two pipes until both close, the deadline passes or the answer
/// grows past its limit.
class ChildPipes {
 public:
  enum class End { Closed, Late, TooLong, Answered };

  ChildPipes(int answer, int error) : descriptors{{{answer, POLLIN, 0}, {error, POLLIN, 0}}} {}

  /// Reads until the pipes close; with `framed`, until the answer holds one frame.
  End drain(const ProcessGuard::Limits& limits, bool framed = false) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(limits.seconds);
    while (descriptors[0].fd >= 0 || descriptors[1].fd >= 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return End::Late;
      const int ready = poll(descriptors.data(), descriptors.size(), static_cast<int>(left));
      if (ready < 0 && errno != EINTR) return End::Closed;
      if (ready > 0 && !readReady(0, answer) && answer.size() > limits.answerBytes + frameHeader)
        return End::TooLong;
      if (framed && frameComplete(answer)) return End::Answered;
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

  int socket() const { return descriptors[0].fd; }

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

  std::array<pollfd, 2> descriptors;
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

// A socket pair for requests and answers and a pipe for the child's standard error,
// closed on exec, so that no other child started meanwhile holds them open.
bool openChannels(int answer[2], int error[2]) {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, answer) != 0) return false;
  if (pipe2(error, O_CLOEXEC) == 0) return true;
  close(answer[0]);
  close(answer[1]);
  return false;
}

/// A child that runs, and the caller's ends of its socket and its error pipe.
struct StartedChild {
  pid_t id;
  int socket;
  int error;
};

/// Forks a child that runs `body` with its own ends of the channels and then ends,
/// so that it never comes back into the caller's code. Nothing, with errno saying why, when the
/// channels or the child could not be made.
std::optional<StartedChild> startChild(const std::function<void(int socket, int error)>& body) {
  int socket[2];
  int error[2];
  if (!openChannels(socket, error)) return std::nullopt;
  const pid_t child = fork();
  if (child == 0) {
    close(socket[0]);
    close(error[0]);
    body(socket[1], error[1]);
    _exit(2);
  }
  close(socket[1]);
  close(error[1]);
  if (child >= 0) return StartedChild{child, socket[0], error[0]};
  const int forkError = errno;
  close(socket[0]);
  close(error[0]);
  errno = forkError;
  return std::nullopt;
}

std::string failureOf(int status, ChildPipes::End end, const ProcessGuard::Limits& limits,
                      const ChildPipes& pipes) {
  std::string failure = reason(status, end, limits);
  const std::string& said = pipes.error.line();
  if (!said.empty()) failure += ": " + said;
  return failure;
}

}  // namespace

ProcessGuard::Outcome ProcessGuard::run(const std::function<std::string()>& work,
                                        const Limits& limits) {
  const std::optional<StartedChild> child =
      startChild([&](int socket, int error) { runChild(work, limits, socket, error); });
  if (!child) return {std::nullopt, systemFailure("could not start the child")};
  ChildPipes pipes(child->socket, child->error);
  const ChildPipes::End end = pipes.drain(limits);
  if (end != ChildPipes::End::Closed) kill(child->id, SIGKILL);
  const int status = waitFor(child->id);
  if (end == ChildPipes::End::Closed && WIFEXITED(status) && WEXITSTATUS(status) == 0)
    return {std::move(pipes.answer), ""};
  return {std::nullopt, failureOf(status, end, limits, pipes)};
}

struct ProcessGuard::Worker::Channels {
  Channels(pid_t child, int socket, int error) : child(child), pipes(socket, error) {}
  pid_t child;
  ChildPipes pipes;
};

ProcessGuard::Worker::Worker(Work work, const Limits& limits)
    : work(std::move(work)), limits(limits) {}

void ProcessGuard::Worker::start() {
  // Another process's channels are inherited, not ours to close or to kill.
  if (channels) (void)channels.release();
  owner = getpid();
  failure.clear();
  const std::optional<StartedChild> child =
      startChild([this](int socket, int error) { serveRequests(work, limits, socket, error); });
  if (!child) {
    failure = systemFailure("could not start the child");
    return;
  }
  channels = std::make_unique<Channels>(child->id, child->socket, child->error);
}

ProcessGuard::Worker::~Worker() {
  if (!channels || owner != getpid()) {
    (void)channels.release();
    return;
  }
  kill(channels->child, SIGKILL);
  waitFor(channels->child);
}

ProcessGuard::Outcome ProcessGuard::Worker::ask(const std::string& request) {
  if (owner != getpid()) start();
  if (!channels) return {std::nullopt, failure};
  ChildPipes& pipes = channels->pipes;
  pipes.answer.clear();
  pipes.error = LastLine();
  const bool sent = writeAll(pipes.socket(), frame(request));
  const ChildPipes::End end = sent ? pipes.drain(limits, true) : ChildPipes::End::Closed;
  if (end == ChildPipes::End::Answered) return {pipes.answer.substr(frameHeader), ""};
  kill(channels->child, SIGKILL);
  failure = failureOf(waitFor(channels->child), end, limits, pipes);
  channels.reset();
  return {std::nullopt, failure};
}

}  // namespace Vexa
