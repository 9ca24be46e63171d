#include "app/RefusingDisplay.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace Vexa::test {

namespace {

constexpr const char* socketFolder = "/tmp/.X11-unix/X";

sockaddr_un addressOf(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof(address.sun_path) - 1);
  return address;
}

/// ":77" or ":77.0" names the socket /tmp/.X11-unix/X77.
std::string socketOfDisplay(const char* display) {
  if (display == nullptr || display[0] != ':') throw std::runtime_error("needs a local $DISPLAY");
  return socketFolder + std::to_string(std::atoi(display + 1));
}

int connectTo(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  const sockaddr_un address = addressOf(path);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

/// Copies bytes both ways until either side hangs up.
void relay(int client, int server) {
  pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
  char bytes[65536];
  for (;;) {
    if (poll(ends, 2, -1) < 0) break;
    bool open = true;
    for (int from = 0; from < 2 && open; ++from) {
      if (ends[from].revents == 0) continue;
      const ssize_t count = read(ends[from].fd, bytes, sizeof(bytes));
      open = count > 0 && write(ends[1 - from].fd, bytes, count) == count;
    }
    if (!open) break;
  }
  close(client);
  close(server);
}

}  // namespace

RefusingDisplay::RefusingDisplay(int refusals)
    : realSocket(socketOfDisplay(std::getenv("DISPLAY"))), refusalsLeft(refusals) {
  // A high display number nobody else uses: bind fails while its socket exists.
  for (int number = 700 + getpid() % 200; listener < 0; ++number) {
    socketPath = socketFolder + std::to_string(number);
    displayName = ":" + std::to_string(number);
    listener = socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = addressOf(socketPath);
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
      close(listener);
      listener = -1;
    }
  }
  listen(listener, 16);
  acceptor = std::thread([this] { acceptClients(); });
}

RefusingDisplay::~RefusingDisplay() {
  shutdown(listener, SHUT_RDWR);
  acceptor.join();
  for (std::thread& relayThread : relays) relayThread.join();
  close(listener);
  unlink(socketPath.c_str());
}

void RefusingDisplay::acceptClients() {
  for (;;) {
    const int client = accept(listener, nullptr, nullptr);
    if (client < 0) break;
    if (refusalsLeft > 0) {
      --refusalsLeft;
      ++refusedCount;
      close(client);
      continue;
    }
    const int server = connectTo(realSocket);
    if (server < 0) {
      close(client);
      continue;
    }
    relays.emplace_back(relay, client, server);
  }
}

}  // namespace Vexa::test
