#pragma once

#include <string>
#include <vector>

namespace pagora::bench {

// What one measured run of a program cost.
struct ChildRun {
    double seconds = 0;    // wall clock, from start to exit
    long peak_rss_kb = 0;  // largest resident set of the process or any child it waited for
    int exit_code = -1;    // -1 when killed by a signal
    std::string output;    // what it wrote to standard output
};

// Runs argv[0] (searched in PATH) as a child process and waits for it.
ChildRun run_child(const std::vector<std::string>& argv);

// A child that keeps running (the server): started with its standard output
// readable line by line, stopped by stop().
class BackgroundChild {
public:
    explicit BackgroundChild(const std::vector<std::string>& argv);
    ~BackgroundChild();
    BackgroundChild(const BackgroundChild&) = delete;
    BackgroundChild& operator=(const BackgroundChild&) = delete;

    // The next line of its output, without the line feed; empty at its end.
    std::string read_line();
    void stop();

private:
    int pid_ = -1;
    int output_fd_ = -1;
};

// This program's own file, so it can run its sub-commands as children.
std::string own_executable();

} // namespace pagora::bench
