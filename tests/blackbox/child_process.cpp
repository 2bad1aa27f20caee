#include "child_process.h"

#include <array>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pagora::blackbox {
namespace {

std::vector<std::string> merged_environment(const std::vector<std::string>& overrides)
{
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const auto& wanted : overrides)
            if (wanted.substr(0, wanted.find('=')) == name) replaced = true;
        if (!replaced) result.push_back(text);
    }
    for (const auto& wanted : overrides)
        if (wanted.find('=') != std::string::npos) result.push_back(wanted); // "NAME" alone removes
    return result;
}

std::vector<char*> pointers(std::vector<std::string>& texts)
{
    std::vector<char*> result;
    for (auto& text : texts) result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

} // namespace

ChildProcess::ChildProcess(std::vector<std::string> argv, std::vector<std::string> environment, int stdout_fd)
{
    auto env = merged_environment(environment);
    auto argv_pointers = pointers(argv);
    auto env_pointers = pointers(env);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::setpgid(0, 0); // its own group, so kill() reaches what it starts
        if (stdout_fd >= 0) ::dup2(stdout_fd, STDOUT_FILENO);
        ::execve(argv_pointers[0], argv_pointers.data(), env_pointers.data());
        std::fprintf(stderr, "cannot start %s: %s\n", argv_pointers[0], std::strerror(errno));
        ::_exit(127);
    }
}

ChildProcess::~ChildProcess()
{
    kill();
}

bool ChildProcess::reap(bool block)
{
    if (ended_ || pid_ <= 0) return true;
    int status = 0;
    const pid_t result = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
    if (result == pid_) {
        ended_ = true;
        status_ = status;
        signal_ = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
    return ended_;
}

bool ChildProcess::running()
{
    return !reap(false);
}

std::optional<int> ChildProcess::wait_for_exit(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!reap(false)) {
        if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(status_)) return WEXITSTATUS(status_);
    return std::nullopt;
}

void ChildProcess::kill()
{
    if (pid_ <= 0 || reap(false)) return;
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    reap(true);
}

std::string run_command(const std::string& command, int* exit_code)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        if (exit_code) *exit_code = -1;
        return output;
    }
    std::array<char, 4096> buffer{};
    while (std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe)) output.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    if (exit_code) *exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

std::string shell_quote(const std::string& text)
{
    std::string quoted = "'";
    for (char ch : text) {
        if (ch == '\'') quoted += "'\\''";
        else quoted += ch;
    }
    return quoted + "'";
}

} // namespace pagora::blackbox
