#include "sim/simulation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <vector>

#include "sim/draws.h"
#include "sim/random_walk.h"
#include "sim/sessions.h"

namespace quotes {
namespace {

constexpr int kDayOctaves = 11;    // the walk of closes: features from 1 day to ~4 years
constexpr int kMinuteOctaves = 9;  // the walk within a session: 1 minute to ~8 hours
constexpr int kYearSessions = 252;

std::uint64_t SymbolSeed(const Instrument& instrument) {
    std::uint64_t h = 1469598103934665603ull;
    for (char c : instrument.symbol) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return Mix(h);
}

bool IsContract(const Market& market) {
    const std::string_view s = market.suffix;
    return s == "CBT" || s == "CME" || s == "NYB" || s == "CMX" || s == "NYM" || s == "MF";
}

// What stays the same about an instrument from day to day.
struct Profile {
    std::uint64_t seed;
    double basePrice;
    double dailyVolatility;
    double noTradeChance;
    double typicalVolume;                      // shares a whole session trades
    std::optional<double> sharesOutstanding;   // none for indices, currencies, contracts
    std::optional<double> eps;                 // none where no earnings are reported
    double quoteUnitsPerMoney = 1;             // 100 where prices are in pence or agorot
    std::optional<Fundamentals> fundamentals;  // listed companies only
};

void AddEarnings(const Instrument& instrument, double shares, Profile& p) {
    if (instrument.kind != InstrumentKind::stock || IsContract(*instrument.market)) return;
    const std::string_view suffix = instrument.market->suffix;
    p.quoteUnitsPerMoney = (suffix == "L" || suffix == "TA") ? 100 : 1;
    p.sharesOutstanding = std::round(shares / 1e4) * 1e4;
    const double r = Uniform(Hash(p.seed, 4));
    if (r < 0.15) return;  // no earnings reported
    const double pe = 8 + 27 * Uniform(Hash(p.seed, 5));
    const double eps = p.basePrice / p.quoteUnitsPerMoney / pe;
    p.eps = r < 0.25 ? -eps * 0.3 : eps;
}

void AddReports(const Instrument& instrument, Profile& p) {
    if (instrument.kind != InstrumentKind::stock || IsContract(*instrument.market)) return;
    p.fundamentals = MakeFundamentals(p.seed, p.basePrice / p.quoteUnitsPerMoney, p.eps);
}

Profile MakeProfile(const Instrument& instrument) {
    Profile p;
    p.seed = SymbolSeed(instrument);
    p.basePrice = instrument.basePrice > 0
                      ? instrument.basePrice
                      : instrument.market->priceScale * std::exp(0.8 * Gauss(Hash(p.seed, 1)));
    double annual = 0.18 + 0.32 * Uniform(Hash(p.seed, 2));
    if (instrument.kind == InstrumentKind::index) annual = 0.16;
    if (instrument.kind == InstrumentKind::currency) annual = 0.08;
    p.dailyVolatility = annual / std::sqrt(252.0);
    p.noTradeChance = 0.04;
    const std::string_view suffix = instrument.market->suffix;
    if (suffix == "OB" || suffix == "PK" || suffix == "V") p.noTradeChance = 0.25;
    if (instrument.kind != InstrumentKind::stock) p.noTradeChance = 0;
    // Contracts have no shares outstanding but trade in volumes of the same sizes.
    const double shares = std::pow(10.0, 7.5 + 2.5 * Uniform(Hash(p.seed, 3)));
    const double turnover = 0.002 + 0.008 * Uniform(Hash(p.seed, 6));
    p.typicalVolume = instrument.kind == InstrumentKind::stock ? shares * turnover : 0;
    AddEarnings(instrument, shares, p);
    AddReports(instrument, p);
    return p;
}

// Profiles are worked out once per instrument of the universe.
const Profile& ProfileOf(const Instrument& instrument, Profile& scratch) {
    static const std::vector<Profile> profiles = [] {
        int count = 0;
        const Instrument* all = Instruments(count);
        std::vector<Profile> made;
        for (int i = 0; i < count; ++i) made.push_back(MakeProfile(all[i]));
        return made;
    }();
    int count = 0;
    const std::ptrdiff_t index = &instrument - Instruments(count);
    if (index >= 0 && index < count) return profiles[index];
    scratch = MakeProfile(instrument);
    return scratch;
}

double LogClose(const Profile& p, std::int64_t session) {
    return std::log(p.basePrice) +
           p.dailyVolatility * Walk(p.seed, static_cast<double>(session), kDayOctaves);
}

bool TradesInSession(const Profile& p, std::int64_t session) {
    return Uniform(Hash(p.seed, session, 77)) >= p.noTradeChance;
}

// A session's price path: from the opening price, a gap away from the previous close, to this
// session's close, with wiggles of its own in between. The per-session parts are worked out
// once.
class SessionPath {
public:
    SessionPath(const Profile& p, std::int64_t session, int length)
        : volatility_(p.dailyVolatility),
          from_(LogClose(p, session - 1)),
          to_(LogClose(p, session)),
          gap_(p.dailyVolatility * kOpeningGap * Gauss(Hash(p.seed, session, 98))),
          length_(length),
          daySeed_(Hash(p.seed, session, 99)),
          origin_(Walk(daySeed_, 0, kMinuteOctaves)),
          end_(Walk(daySeed_, length, kMinuteOctaves) - origin_) {}

    double PrevClose() const { return std::exp(from_); }

    double PriceAt(int minute) const {
        return PriceWith(minute, Walk(daySeed_, minute, kMinuteOctaves));
    }

    // The prices of minutes 0 to `last` in order, each drawn once: `visit(minute, price)`.
    template <typename Visit>
    void EachMinute(int last, Visit visit) const {
        WalkCursor cursor(daySeed_, kMinuteOctaves);
        for (int minute = 0; minute <= last; ++minute)
            visit(minute, PriceWith(minute, cursor.At(minute)));
    }

private:
    double PriceWith(int minute, double walk) const {
        const double share = length_ > 0 ? static_cast<double>(minute) / length_ : 1.0;
        const double wiggle = (walk - origin_) - share * end_;
        constexpr double kWiggleScale = 0.5 / 16.0;  // about half a day's move across a session
        return std::exp(from_ + (1 - share) * gap_ + share * (to_ - from_) +
                        volatility_ * kWiggleScale * wiggle);
    }

    static constexpr double kOpeningGap = 0.3;  // of a day's move
    double volatility_;
    double from_;
    double to_;
    double gap_;
    int length_;
    std::uint64_t daySeed_;
    double origin_;
    double end_;
};

// What a session's quotes are built from, worked out once per instrument and session and
// shared by every request of that session.
struct SessionCache {
    std::mutex mutex;
    std::int64_t session = std::numeric_limits<std::int64_t>::min();
    double prevClose = 0;
    double yearHigh = 0;
    double yearLow = 0;
    double closes49 = 0;   // the sum of the closes of the 49 sessions before this one
    double closes199 = 0;  // and of the 199 before it
    // Prices move minute by minute, so the high and low up to each minute are exact and never
    // fall back as the day goes on.
    std::vector<double> price;
    std::vector<double> highUpTo;
    std::vector<double> lowUpTo;

    void Fill(const Profile& p, std::int64_t newSession, int length) {
        session = newSession;
        const SessionPath path(p, session, length);
        prevClose = path.PrevClose();
        yearHigh = yearLow = prevClose;
        closes49 = closes199 = 0;
        WalkCursor closes(p.seed, kDayOctaves);
        for (std::int64_t s = session - kYearSessions + 1; s < session; ++s) {
            const double close = std::exp(std::log(p.basePrice) +
                                          p.dailyVolatility * closes.At(static_cast<int>(s)));
            yearHigh = std::max(yearHigh, close);
            yearLow = std::min(yearLow, close);
            if (s >= session - 49) closes49 += close;
            if (s >= session - 199) closes199 += close;
        }
        price.resize(length + 1);
        highUpTo.resize(length + 1);
        lowUpTo.resize(length + 1);
        path.EachMinute(length, [this](int minute, double at) {
            price[minute] = at;
            highUpTo[minute] = minute ? std::max(highUpTo[minute - 1], at) : at;
            lowUpTo[minute] = minute ? std::min(lowUpTo[minute - 1], at) : at;
        });
    }
};

// The part of a session that one quote needs.
struct SessionView {
    double prevClose, yearHigh, yearLow, last, dayHigh, dayLow, open, closes49, closes199;
};

SessionView ViewSession(const Instrument& instrument, const Profile& p, const SessionPoint& at) {
    int count = 0;
    const Instrument* first = Instruments(count);
    const std::ptrdiff_t index = &instrument - first;
    static std::vector<SessionCache> caches(static_cast<std::size_t>(count));
    SessionCache local;  // an instrument from outside the universe (tests)
    SessionCache& cache = (index >= 0 && index < count) ? caches[index] : local;
    std::lock_guard<std::mutex> lock(cache.mutex);
    if (cache.session != at.session ||
        cache.price.size() != static_cast<std::size_t>(at.length) + 1) {
        cache.Fill(p, at.session, at.length);
    }
    return {cache.prevClose,
            cache.yearHigh,
            cache.yearLow,
            cache.price[at.minute],
            cache.highUpTo[at.minute],
            cache.lowUpTo[at.minute],
            cache.price[0],
            cache.closes49,
            cache.closes199};
}

double RoundTo(double value, int decimals) {
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    const double scale = kScale[decimals];
    return std::round(value * scale) / scale;
}

}  // namespace

namespace {

// The day so far: the last trade, the day's range and the open; a session without a trade
// holds the previous close.
void SetDay(Quote& q, const Market& market, const SessionPoint& at, const SessionView& view) {
    q.tradeDate = CivilFromDays(at.sessionDay);
    q.tradeMinute = market.openMinute + at.minute;
    if (q.traded) {
        q.last = view.last;
        q.dayHigh = view.dayHigh;
        q.dayLow = view.dayLow;
        q.open = RoundTo(view.open, q.decimals);
        return;
    }
    q.last = q.dayHigh = q.dayLow = q.prevClose;
    q.tradeDate = CivilFromDays(SessionDay(market, at.session - 1));
    q.tradeMinute = market.closeMinute;
}

void SetVolumes(Quote& q, const Instrument& instrument, const Profile& p, const SessionPoint& at) {
    if (instrument.kind != InstrumentKind::stock) return;
    const double today = p.typicalVolume * std::exp(0.4 * Gauss(Hash(p.seed, at.session, 5)));
    const double share = at.length > 0 ? static_cast<double>(at.minute) / at.length : 1.0;
    q.volume = q.traded ? static_cast<std::uint64_t>(today * std::pow(share, 0.85)) : 0;
    q.averageVolume = static_cast<std::uint64_t>(std::llround(p.typicalVolume));
    // Round lots of 100 shares: the book's best levels and the last print change each minute.
    const std::int64_t minute = at.session * 1440 + at.minute;
    const auto lots = [&](std::uint64_t place, int most) {
        return 100 * (1 + static_cast<std::uint64_t>(Uniform(Hash(p.seed, minute, place)) * most));
    };
    q.bidSize = lots(11, 40);
    q.askSize = lots(12, 40);
    if (q.traded) q.lastTradeSize = lots(13, 10);
}

}  // namespace

Quote SimulateQuote(const Instrument& instrument, std::int64_t utcSeconds) {
    const Market& market = *instrument.market;
    Profile scratch;
    const Profile& p = ProfileOf(instrument, scratch);
    const SessionPoint at = LocateSession(market, utcSeconds);
    const SessionView view = ViewSession(instrument, p, at);

    Quote q;
    q.marketOpen = at.open;
    q.session = at.session;
    q.prevClose = view.prevClose;
    q.traded = TradesInSession(p, at.session);
    q.decimals = (instrument.kind == InstrumentKind::currency ||
                  (q.traded ? view.last : view.prevClose) < 1.0)
                     ? 4
                     : 2;
    q.prevClose = RoundTo(q.prevClose, q.decimals);
    SetDay(q, market, at, view);
    q.yearHigh = std::max(view.yearHigh, q.dayHigh);
    q.yearLow = std::min(view.yearLow, q.dayLow);
    // Today's price is the last of the closes the averages take.
    q.movingAverage50 = (view.closes49 + q.last) / 50;
    q.movingAverage200 = (view.closes199 + q.last) / 200;
    for (double* v : {&q.last, &q.dayHigh, &q.dayLow, &q.yearHigh, &q.yearLow, &q.movingAverage50,
                      &q.movingAverage200}) {
        *v = RoundTo(*v, q.decimals);
    }
    SetVolumes(q, instrument, p, at);
    q.sharesOutstanding = p.sharesOutstanding;
    q.eps = p.eps;
    q.quoteUnitsPerMoney = p.quoteUnitsPerMoney;
    q.fundamentals = p.fundamentals;
    return q;
}

void SimulateCloses(const Instrument& instrument, std::int64_t utcSeconds, double* closes,
                    int count) {
    Profile scratch;
    const Profile& p = ProfileOf(instrument, scratch);
    const SessionPoint at = LocateSession(*instrument.market, utcSeconds);
    for (int i = 0; i < count; ++i) {
        const std::int64_t session = at.session - (count - 1 - i);
        closes[i] = session == at.session ? SessionPath(p, session, at.length).PriceAt(at.minute)
                                          : std::exp(LogClose(p, session));
    }
}

int SimulateSessionPath(const Instrument& instrument, std::int64_t utcSeconds, double* prices,
                        int samples) {
    Profile scratch;
    const Profile& p = ProfileOf(instrument, scratch);
    const SessionPoint at = LocateSession(*instrument.market, utcSeconds);
    const SessionPath path(p, at.session, at.length);
    int n = 0;
    for (int i = 0; i < samples; ++i) {
        const int minute = samples > 1 ? i * at.length / (samples - 1) : at.length;
        if (minute > at.minute) break;
        prices[n++] = path.PriceAt(minute);
    }
    return n;
}

namespace {

// A whole past session, minute by minute as its quotes went; a session without a trade is
// its close alone.
DayBar PastBar(const Profile& p, const Market& market, std::int64_t session, int decimals) {
    DayBar bar;
    bar.day = SessionDay(market, session);
    const int length = market.closeMinute - market.openMinute;
    if (!TradesInSession(p, session)) {
        bar.open = bar.high = bar.low = bar.close = std::exp(LogClose(p, session));
    } else {
        const SessionPath path(p, session, length);
        path.EachMinute(length, [&bar](int minute, double price) {
            if (minute == 0) bar.open = bar.high = bar.low = price;
            bar.high = std::max(bar.high, price);
            bar.low = std::min(bar.low, price);
            bar.close = price;
        });
        const double volume = p.typicalVolume * std::exp(0.4 * Gauss(Hash(p.seed, session, 5)));
        bar.volume = static_cast<std::uint64_t>(volume);
    }
    for (double* v : {&bar.open, &bar.high, &bar.low, &bar.close}) *v = RoundTo(*v, decimals);
    return bar;
}

DayBar TodaysBar(const Quote& q, std::int64_t day) {
    DayBar bar;
    bar.day = day;
    bar.open = q.open.value_or(q.last);
    bar.high = q.dayHigh;
    bar.low = q.dayLow;
    bar.close = q.last;
    bar.volume = q.volume.value_or(0);
    return bar;
}

}  // namespace

std::vector<DayBar> SimulateHistory(const Instrument& instrument, std::int64_t utcSeconds,
                                    std::int64_t firstDay, std::int64_t lastDay) {
    const Market& market = *instrument.market;
    Profile scratch;
    const Profile& p = ProfileOf(instrument, scratch);
    const SessionPoint at = LocateSession(market, utcSeconds);
    const Quote today = SimulateQuote(instrument, utcSeconds);
    std::vector<DayBar> bars;
    for (std::int64_t session = at.session;; --session) {
        const std::int64_t day =
            session == at.session ? at.sessionDay : SessionDay(market, session);
        if (day < firstDay) break;
        if (day > lastDay) continue;
        bars.push_back(session == at.session ? TodaysBar(today, day)
                                             : PastBar(p, market, session, today.decimals));
    }
    std::reverse(bars.begin(), bars.end());
    return bars;
}

}  // namespace quotes
