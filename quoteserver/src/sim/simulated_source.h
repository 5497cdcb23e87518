// The simulated market as a quote source: every instrument of the universe, offline, always
// answering, and the pages it draws itself.
#pragma once

#include "sources/quote_source.h"

namespace quotes {

class SimulatedSource final : public QuoteSource {
public:
    static constexpr std::string_view kName = "simulated";

    std::string_view Name() const override { return kName; }
    bool Blocks() const override { return false; }
    void Answer(const std::vector<std::string>& symbols, const std::vector<std::string>& tags,
                std::int64_t utcSeconds, Freshness freshness, std::int64_t deadlineMs,
                QuoteAnswers& answers) override;
    HistoryAnswer History(std::string_view query, std::int64_t utcSeconds,
                          std::int64_t deadlineMs) override;
    PageAnswer Page(PageKind page, std::string_view symbol, std::int64_t utcSeconds,
                    std::int64_t deadlineMs) override;
    void Status(std::string& out) const override;
};

}  // namespace quotes
