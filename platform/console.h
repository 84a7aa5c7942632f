// The console of the command-line face: lines to standard output in UTF-8,
// the terminal title, and waiting for a key.
#pragma once

#include <string>

namespace tarnwick {

void PrintLine(const std::string& line);
// Sets the terminal's title when standard output is a terminal.
void SetConsoleTitle(const std::string& title);
// Blocks until a key that produces a character is pressed. Does not wait
// when standard input is not a terminal: no key can arrive there.
void WaitForKey();

}  // namespace tarnwick
