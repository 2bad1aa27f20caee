#include "child_process.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <tuple>
#include <unistd.h>

namespace pagora::bench {
namespace {

// Forks and executes argv with standard output into a new pipe; returns the
// child's pid and the pipe's reading end.
std::pair<int, int> start(const std::vector<std::string>& argv)
{
    int pipe_fds[2];
    if (::pipe2(pipe_fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::dup2(pipe_fds[1], STDOUT_FILENO);
        ::execvp(args[0], args.data());
        std::perror(args[0]);
        std::_Exit(127);
    }
    ::close(pipe_fds[1]);
    return {pid, pipe_fds[0]};
}

} // namespace

ChildRun run_child(const std::vector<std::string>& argv)
{
    ChildRun run;
    const auto begin = std::chrono::steady_clock::now();
    const auto [pid, output_fd] = start(argv);
    char buffer[4096];
    for (ssize_t got; (got = ::read(output_fd, buffer, sizeof buffer)) > 0;) run.output.append(buffer, got);
    ::close(output_fd);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    run.peak_rss_kb = usage.ru_maxrss;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

BackgroundChild::BackgroundChild(const std::vector<std::string>& argv)
{
    std::tie(pid_, output_fd_) = start(argv);
}

BackgroundChild::~BackgroundChild()
{
    stop();
}

std::string BackgroundChild::read_line()
{
    std::string line;
    char c;
    while (::read(output_fd_, &c, 1) == 1 && c != '\n') line += c;
    return line;
}

void BackgroundChild::stop()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    if (output_fd_ >= 0) {
        ::close(output_fd_);
        output_fd_ = -1;
    }
}

std::string own_executable()
{
    return std::filesystem::read_symlink("/proc/self/exe").string();
}

} // namespace pagora::bench
