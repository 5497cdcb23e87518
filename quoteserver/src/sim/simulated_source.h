// The simulated market as a quote source: every instrument of the universe, offline, always
// answering.
#pragma once

#include "sources/quote_source.h"

namespace quotes {

class SimulatedSource final : public QuoteSource {
public:
    std::string_view Name() const override { return "simulated"; }
    void Answer(const std::vector<std::string>& symbols, const std::vector<std::string>& tags,
                std::int64_t utcSeconds, Freshness freshness,
                std::vector<SymbolAnswer>& answers) override;
    HistoryAnswer History(std::string_view query, std::int64_t utcSeconds) override;
    std::optional<std::string> PageAddress(std::string_view, std::string_view) const override {
        return std::nullopt;
    }
    void Status(std::string& out) const override;
};

}  // namespace quotes
