#include "SampleStats.h"

#include <algorithm>
#include <cmath>

std::optional<Spread> spreadOf(std::vector<double> values)
{
    if (values.empty())
        return std::nullopt;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    Spread s;
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    const size_t rank = size_t(std::ceil(0.99 * double(n)));
    s.p99 = values[std::max<size_t>(rank, 1) - 1];
    return s;
}

std::optional<Spread> windowSpread(const std::vector<double> &values, size_t first, size_t last)
{
    if (last < first || last >= values.size())
        return std::nullopt;
    return spreadOf(std::vector<double>(values.begin() + long(first),
                                        values.begin() + long(last) + 1));
}

std::optional<Spread> pooledWindowSpread(const std::vector<std::vector<double>> &runs,
                                         size_t first, size_t last)
{
    std::vector<double> pooled;
    for (const std::vector<double> &run : runs) {
        if (last >= first && last < run.size())
            pooled.insert(pooled.end(), run.begin() + long(first), run.begin() + long(last) + 1);
    }
    return spreadOf(std::move(pooled));
}

void keepMinima(std::vector<double> &minima, const std::vector<double> &run)
{
    if (minima.size() < run.size())
        minima.resize(run.size(), HUGE_VAL);
    for (size_t i = 0; i < run.size(); ++i)
        minima[i] = std::min(minima[i], run[i]);
}
