// Starts a program with its stdout on a pipe, reads its lines, kills it.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace edbtest {

class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& args);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const;
  // One line of its output without the line break; false at the end.
  bool read_line(std::string& line);
  // Ends it at once (SIGKILL, TerminateProcess).
  void kill();
  // Its exit code; -1 when it was killed.
  int wait();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace edbtest
