#include "machine.h"

#include <fstream>
#include <string>
#include <thread>

namespace pagora::bench {
namespace {

// The value after "key" and the separator on the first line that starts with key.
std::string value_of(const char* file, const std::string& key, char separator)
{
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(line.find(separator) + 1);
        value.erase(0, value.find_first_not_of(" \t\""));
        value.erase(value.find_last_not_of(" \t\"") + 1);
        return value;
    }
    return "unknown";
}

} // namespace

std::string load_average()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::string machine_description()
{
    return "CPU: " + value_of("/proc/cpuinfo", "model name", ':') + ", " +
           std::to_string(std::thread::hardware_concurrency()) + " cores; OS: " +
           value_of("/etc/os-release", "PRETTY_NAME", '=') + "; load average at the start: " + load_average();
}

} // namespace pagora::bench
