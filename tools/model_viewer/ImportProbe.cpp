#include "ImportProbe.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <assimp/Importer.hpp>
#include <cerrno>
#include <cstring>

#include "platform/Fatal.h"
#include "render/ModelLoader.h"

namespace Vexa::viewer {

namespace {

// Sanitizers reserve terabytes of address space up front, so under them an
// address-space limit fails every allocation; only the time limit applies there.
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

constexpr rlim_t memoryLimit = rlim_t{4} << 30;
constexpr unsigned timeLimitSeconds = 120;

// Imports under limits and writes Assimp's error, if any, to `errorPipe`.
[[noreturn]] void importInChild(const std::string& path, int errorPipe) {
  if (!sanitized) {
    const rlimit memory{memoryLimit, memoryLimit};
    setrlimit(RLIMIT_AS, &memory);
  }
  alarm(timeLimitSeconds);
  Assimp::Importer importer;
  const bool read = ModelLoader::read(importer, path) != nullptr;
  const std::string error = importer.GetErrorString();
  if (!read && write(errorPipe, error.data(), error.size()) < 0) _exit(2);
  _exit(read ? 0 : 1);
}

std::string readAll(int descriptor) {
  std::string text;
  char chunk[512];
  ssize_t count = 0;
  while ((count = read(descriptor, chunk, sizeof chunk)) > 0 || (count < 0 && errno == EINTR)) {
    if (count > 0) text.append(chunk, static_cast<std::size_t>(count));
  }
  return text;
}

int waitFor(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) fatalError(std::string("lost the import: ") + std::strerror(errno));
  }
  return status;
}

}  // namespace

void ensureImportSurvives(const std::string& path) {
  int errorPipe[2];
  if (pipe(errorPipe) != 0)
    fatalError(std::string("could not start the import: ") + std::strerror(errno));
  const pid_t child = fork();
  if (child < 0) fatalError(std::string("could not start the import: ") + std::strerror(errno));
  if (child == 0) {
    close(errorPipe[0]);
    importInChild(path, errorPipe[1]);
  }
  close(errorPipe[1]);
  const std::string error = readAll(errorPipe[0]);
  close(errorPipe[0]);
  const int status = waitFor(child);
  const std::string failure = "model could not be loaded: ";
  if (WIFSIGNALED(status)) {
    const int signal = WTERMSIG(status);
    fatalError(failure + "Assimp ended with signal " + std::to_string(signal) + " (" +
               strsignal(signal) + ")");
  }
  if (WEXITSTATUS(status) == 1) fatalError(failure + error);
  if (WEXITSTATUS(status) != 0) {
    fatalError(failure + "Assimp ended with status " + std::to_string(WEXITSTATUS(status)));
  }
}

}  // namespace Vexa::viewer
