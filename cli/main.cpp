#include <cstdio>
#include <cstdlib>

#include "cli/startup.h"

int main(int argc, char** argv) {
  const int code = tarnwick::ProgramMain(argc, argv);
  std::fflush(stdout);
  // Every path ends with exit code 0; leave without tearing down the
  // process-wide records one by one.
  std::_Exit(code);
}
