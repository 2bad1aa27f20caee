#pragma once

#include <string>

namespace pagora::bench {

// "CPU: <model>, <n> cores; OS: <name>; load average: ..." for the tables' header.
std::string machine_description();
// The 1, 5 and 15 minute load averages.
std::string load_average();

} // namespace pagora::bench
