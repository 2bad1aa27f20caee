#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace pagora::blackbox {

// A program the test starts; killed when the test lets go of it, so a failing
// test leaves nothing running.
class ChildProcess {
public:
    // argv[0] is the program's path; environment entries are "NAME=value" and
    // replace the test's own entries of that name.
    ChildProcess(std::vector<std::string> argv, std::vector<std::string> environment = {},
                 int stdout_fd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // The exit code, or nothing when it did not end in time or ended by a
    // signal (then signal() says which).
    std::optional<int> wait_for_exit(std::chrono::milliseconds timeout);
    int signal() const { return signal_; }
    void kill();

private:
    bool reap(bool block);

    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = 0;
    int signal_ = 0;
};

// Runs a command line through the shell and gives its standard output; the
// exit code goes to *exit_code when asked for.
std::string run_command(const std::string& command, int* exit_code = nullptr);

// Quotes a text for the shell.
std::string shell_quote(const std::string& text);

} // namespace pagora::blackbox
