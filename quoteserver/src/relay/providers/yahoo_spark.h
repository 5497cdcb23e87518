// Yahoo's spark endpoint: many symbols' paths of a day in one call, for the market summary.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quotes {

struct SparkSeries {
    std::optional<double> last, previousClose;
    std::vector<double> closes;  // oldest first
    int decimals = 2;
};

// By symbol; both of the endpoint's forms are read (v7's spark.result[].response[0], a chart,
// and the bare object by symbol with timestamp and close).
std::map<std::string, SparkSeries> ReadSpark(const std::string& body);

}  // namespace quotes
