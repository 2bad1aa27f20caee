#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace pagora::bench {

struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
};

inline Summary summarise(std::vector<double> values)
{
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

// The argument at `index`, or an error naming what is missing.
inline const std::string& argument(const std::vector<std::string>& args, std::size_t index, const char* name)
{
    if (index >= args.size()) throw std::invalid_argument(std::string("missing ") + name);
    return args[index];
}

} // namespace pagora::bench
