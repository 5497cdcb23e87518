// The sources with free API keys, US listings only on their free plans: Finnhub (a quote call a
// symbol, and the company profile for name, market cap and shares, kept for a day) and Twelve
// Data (one call for a batch). The key goes in a header, never in an address, a log or a reply.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "relay/live_source.h"

namespace quotes {

inline constexpr int kFinnhubCallsPerMinute = 50;
inline constexpr int kTwelveDataCallsPerMinute = 7;
// The free plan's credits: a symbol of a batch costs one.
inline constexpr int kTwelveDataCreditsPerMinute = 8;
inline constexpr int kTwelveDataCreditsPerDay = 800;

class FinnhubSource final : public LiveSource {
public:
    static constexpr std::string_view kName = "finnhub";

    FinnhubSource(RelayContext context, std::string base, std::string key,
                  int callsPerMinute = kFinnhubCallsPerMinute);
    // The news page from Finnhub's company news of the last week; no chart or summary (its
    // candles are not on a free key).
    PageAnswer Page(PageKind page, std::string_view symbol, std::int64_t utcSeconds,
                    std::int64_t deadlineMs) override;

protected:
    std::string SourceSymbol(const std::string& requested) const override;
    void Fetch(const std::vector<std::string>& symbols, FetchResult& result) override;
    std::string ReachUrl() const override { return base_; }

private:
    struct Profile {
        std::string name, currency, exchange;
        std::optional<double> marketCap, shares;
        std::int64_t fetchedMs = 0;
    };
    void FetchProfiles(const std::vector<std::string>& symbols, std::int64_t deadlineMs);
    UpstreamRequest Request(const std::string& path, const std::string& symbol) const;

    const std::string base_, key_;
    std::mutex profileMutex_;
    std::map<std::string, Profile> profiles_;
};

class TwelveDataSource final : public LiveSource {
public:
    static constexpr std::string_view kName = "twelvedata";

    TwelveDataSource(RelayContext context, std::string base, std::string key,
                     int callsPerMinute = kTwelveDataCallsPerMinute);

protected:
    std::string SourceSymbol(const std::string& requested) const override;
    // As many of the symbols as the credits left allow, those answered longest ago first; the
    // others are left for the next source.
    void Fetch(const std::vector<std::string>& symbols, FetchResult& result) override;
    std::string ReachUrl() const override { return base_; }
    std::string StatusNote() const override;

public:
    // The chart page from two time series (5-minute and daily), two credits; no news or
    // summary.
    PageAnswer Page(PageKind page, std::string_view symbol, std::int64_t utcSeconds,
                    std::int64_t deadlineMs) override;

private:
    // Takes `credits` for a call now, or false.
    bool TakeCredits(int credits, std::int64_t utcSeconds);

private:
    const std::string base_, key_;
    mutable std::mutex creditMutex_;
    CreditMeter credits_{kTwelveDataCreditsPerMinute, kTwelveDataCreditsPerDay};
    std::int64_t lastUtc_ = 0;  // of the last fetch, for the status's day
};

// The exchange code the service gives for a US exchange named in words ("NASDAQ", "New York
// Stock Exchange, Inc."); "" for others.
std::string UsExchangeCode(const std::string& words);

}  // namespace quotes
