#pragma once
// A program run by a test, with its standard output and error captured.

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vortaboot::testing {

class ChildProcess {
 public:
  // Starts `program` with `arguments`; `environment` is added to the test's own.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::map<std::string, std::string>& environment = {});
  ~ChildProcess();  // kills the process if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line on standard output, without its line end; nullopt when
  // none comes within `limit` or the output ends.
  std::optional<std::string> readLine(std::chrono::milliseconds limit);
  // Waits until standard error holds `text`; false when it does not within `limit`.
  bool waitForError(const std::string& text, std::chrono::milliseconds limit);
  void signal(int number);
  // The exit status (128 + signal number when killed by one); nullopt when
  // the process still runs after `limit`.
  std::optional<int> wait(std::chrono::milliseconds limit);

  const std::string& output() const { return out_; }
  const std::string& errors() const { return err_; }

 private:
  bool pump(std::chrono::milliseconds limit);  // reads what is there; false once both streams ended
  int pid_ = -1;
  int outFd_ = -1;
  int errFd_ = -1;
  std::string out_;
  std::string err_;
  std::size_t lineStart_ = 0;
  std::optional<int> status_;
};

// Runs a program to its end (at most `limit`) and returns the process.
struct Finished {
  std::optional<int> status;
  std::string output;
  std::string errors;
};
Finished RunToEnd(const std::string& program, const std::vector<std::string>& arguments,
                  const std::map<std::string, std::string>& environment = {},
                  std::chrono::milliseconds limit = std::chrono::seconds(30));

}  // namespace vortaboot::testing
