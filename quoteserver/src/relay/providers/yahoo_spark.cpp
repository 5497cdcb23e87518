#include "relay/providers/yahoo_spark.h"

#include <algorithm>

#include "relay/json_fields.h"
#include "relay/providers/yahoo_chart_json.h"

namespace quotes {
namespace {

using json::Json;

constexpr std::size_t kMostSymbols = 64;

void AddCloses(const Json* closes, SparkSeries& series) {
    if (!closes || !closes->is_array()) return;
    for (const Json& value : *closes) {
        if (value.is_number()) series.closes.push_back(value.get<double>());
    }
}

// A chart's meta and closes (v7's form).
SparkSeries FromChart(const Json& chart) {
    SparkSeries series;
    if (const Json* meta = json::Field(chart, "meta")) {
        series.last = json::Number(*meta, "regularMarketPrice");
        series.previousClose = json::Number(*meta, "previousClose");
        if (!series.previousClose) series.previousClose = json::Number(*meta, "chartPreviousClose");
        series.decimals = static_cast<int>(
            std::clamp<std::int64_t>(json::Integer(*meta, "priceHint").value_or(2), 0, 6));
    }
    AddCloses(ChartSeries(chart, "quote", "close"), series);
    return series;
}

// The bare form: {"close": [...], "chartPreviousClose": ...}.
SparkSeries FromBare(const Json& item) {
    SparkSeries series;
    AddCloses(json::Field(item, "close"), series);
    series.previousClose = json::Number(item, "previousClose");
    if (!series.previousClose) series.previousClose = json::Number(item, "chartPreviousClose");
    if (!series.closes.empty()) series.last = series.closes.back();
    return series;
}

}  // namespace

std::map<std::string, SparkSeries> ReadSpark(const std::string& body) {
    std::map<std::string, SparkSeries> found;
    const Json parsed = json::Parse(body);
    if (!parsed.is_object()) return found;
    const Json* spark = json::Field(parsed, "spark");
    const Json* results = spark ? json::Field(*spark, "result") : nullptr;
    if (results && results->is_array()) {
        for (const Json& result : *results) {
            const std::string symbol = json::Text(result, "symbol");
            const Json* response = json::Field(result, "response");
            if (symbol.empty() || !response || !response->is_array() || response->empty()) continue;
            if (found.size() < kMostSymbols) found[symbol] = FromChart(response->front());
        }
        return found;
    }
    for (const auto& item : parsed.items()) {
        if (item.value().is_object() && found.size() < kMostSymbols)
            found[item.key()] = FromBare(item.value());
    }
    return found;
}

}  // namespace quotes
