// run_cadhost.h - runs the cadhost program as a child process for the end-to-end robustness
// tests: its exit status (or the signal that ended it), standard output and standard error.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace robust {

struct RunResult {
  int status = -1;   // exit status, or -1 when a signal ended the process
  int signal = 0;    // the signal that ended it, 0 when it exited
  std::string out, err;
  bool crashed() const { return signal != 0 && signal != 9; }
  std::string describe() const;  // status, signal and both outputs, for failure messages
};

// Runs cadhost with `args` (and stdin from /dev/null) and waits for it.
RunResult runCadhost(const std::vector<std::string>& args);

// Starts cadhost with `args` (output discarded); answers its process id.
pid_t startCadhost(const std::vector<std::string>& args);

// A fresh, empty directory for one test, below the build's work directory.
std::string freshDir(const std::string& name);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool exists(const std::string& path);
std::vector<std::string> filesIn(const std::string& dir);

// A drawing of `rooms` closed polylines (on a complete R2000 skeleton), for tests that need a
// valid drawing of a chosen size.
std::string roomsDrawing(int rooms);

}  // namespace robust
