#include "platform/console.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>

namespace tarnwick {

void PrintLine(const std::string& line) {
  // The worker prints from its own thread; keep whole lines together.
  static std::mutex lock;
  std::lock_guard<std::mutex> guard(lock);
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void SetConsoleTitle(const std::string& title) {
  if (!::isatty(STDOUT_FILENO)) return;
  std::printf("\033]0;%s\007", title.c_str());
  std::fflush(stdout);
}

void WaitForKey() {
  if (!::isatty(STDIN_FILENO)) return;
  termios saved{};
  if (::tcgetattr(STDIN_FILENO, &saved) != 0) return;
  termios raw = saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  for (;;) {
    unsigned char ch = 0;
    const ssize_t n = ::read(STDIN_FILENO, &ch, 1);
    if (n <= 0) break;
    if (ch == 0x1B) {
      // An escape sequence (arrow and function keys) produces no character:
      // swallow what follows it without ending the wait.
      termios quick = raw;
      quick.c_cc[VMIN] = 0;
      quick.c_cc[VTIME] = 1;
      ::tcsetattr(STDIN_FILENO, TCSANOW, &quick);
      unsigned char rest[16];
      while (::read(STDIN_FILENO, rest, sizeof rest) > 0) {
      }
      ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
      continue;
    }
    break;
  }
  ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

}  // namespace tarnwick
