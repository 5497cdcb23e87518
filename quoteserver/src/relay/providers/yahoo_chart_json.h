// What every reader of Yahoo's chart answers shares: chart.result[0], a series of its
// indicators, and a series' number at an index, each checked and null when missing.
#pragma once

#include <optional>

#include "relay/json_fields.h"

namespace quotes {

// chart.result[0], or null.
inline const json::Json* ChartResult(const json::Json& body) {
    const json::Json* chart = json::Field(body, "chart");
    const json::Json* results = chart ? json::Field(*chart, "result") : nullptr;
    if (!results || !results->is_array() || results->empty()) return nullptr;
    return results->front().is_object() ? &results->front() : nullptr;
}

// indicators.GROUP[0].NAME of a result ("quote", "close"; "adjclose", "adjclose"), or null.
inline const json::Json* ChartSeries(const json::Json& result, const char* group,
                                     const char* name) {
    const json::Json* indicators = json::Field(result, "indicators");
    const json::Json* list = indicators ? json::Field(*indicators, group) : nullptr;
    if (!list || !list->is_array() || list->empty()) return nullptr;
    const json::Json* series = json::Field(list->front(), name);
    return series && series->is_array() ? series : nullptr;
}

// The series' number at `i`; nothing for a null, a missing index or another type.
inline std::optional<double> SeriesAt(const json::Json* series, std::size_t i) {
    if (!series || i >= series->size() || !(*series)[i].is_number()) return std::nullopt;
    return (*series)[i].get<double>();
}

}  // namespace quotes
