#include "simulation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <vector>

namespace quotes {
namespace {

constexpr int kDayOctaves = 11;    // the walk of closes: features from 1 day to ~4 years
constexpr int kMinuteOctaves = 9;  // the walk within a session: 1 minute to ~8 hours
constexpr int kYearSessions = 252;

std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t Hash(std::uint64_t seed, std::int64_t a, std::uint64_t b = 0) {
    return Mix(seed ^ Mix(static_cast<std::uint64_t>(a) ^ Mix(b)));
}

double Uniform(std::uint64_t h) {
    return static_cast<double>(h >> 11) * 0x1.0p-53;
}

// Roughly standard normal: a sum of four uniforms, scaled.
double Gauss(std::uint64_t h) {
    double sum = 0;
    for (int i = 0; i < 4; ++i) {
        h = Mix(h + static_cast<std::uint64_t>(i));
        sum += Uniform(h);
    }
    return (sum - 2.0) * std::sqrt(3.0);
}

// A random walk at every scale from 1 to 2^(octaves-1) steps: each octave interpolates random
// values on a lattice of its own spacing. Increments over one step have unit variance.
double Walk(std::uint64_t seed, double t, int octaves) {
    double sum = 0;
    for (int k = 0; k < octaves; ++k) {
        const double spacing = static_cast<double>(1 << k);
        const double x = t / spacing;
        const double cell = std::floor(x);
        const double frac = x - cell;
        const auto c = static_cast<std::int64_t>(cell);
        const double a = Gauss(Hash(seed, c, 1000 + static_cast<std::uint64_t>(k)));
        const double b = Gauss(Hash(seed, c + 1, 1000 + static_cast<std::uint64_t>(k)));
        sum += std::sqrt(spacing) * 0.5 * (a + (b - a) * frac);
    }
    return sum;
}

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
    double typicalVolume;                     // shares a whole session trades
    std::optional<double> sharesOutstanding;  // none for indices, currencies, contracts
    std::optional<double> eps;                // none where no earnings are reported
    double quoteUnitsPerMoney = 1;            // 100 where prices are in pence or agorot
};

void AddFundamentals(const Instrument& instrument, double shares, Profile& p) {
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
    AddFundamentals(instrument, shares, p);
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

// A session's price path: a bridge from the previous close to this session's close with
// wiggles of its own in between. The per-session parts are worked out once.
class SessionPath {
public:
    SessionPath(const Profile& p, std::int64_t session, int length)
        : volatility_(p.dailyVolatility),
          from_(LogClose(p, session - 1)),
          to_(LogClose(p, session)),
          length_(length),
          daySeed_(Hash(p.seed, session, 99)),
          origin_(Walk(daySeed_, 0, kMinuteOctaves)),
          end_(Walk(daySeed_, length, kMinuteOctaves) - origin_) {}

    double PrevClose() const { return std::exp(from_); }

    double PriceAt(int minute) const {
        const double share = length_ > 0 ? static_cast<double>(minute) / length_ : 1.0;
        const double wiggle = (Walk(daySeed_, minute, kMinuteOctaves) - origin_) - share * end_;
        constexpr double kWiggleScale = 0.5 / 16.0;  // about half a day's move across a session
        return std::exp(from_ + share * (to_ - from_) + volatility_ * kWiggleScale * wiggle);
    }

private:
    double volatility_;
    double from_;
    double to_;
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
        for (std::int64_t s = session - kYearSessions + 1; s < session; ++s) {
            const double close = std::exp(LogClose(p, s));
            yearHigh = std::max(yearHigh, close);
            yearLow = std::min(yearLow, close);
        }
        price.resize(length + 1);
        highUpTo.resize(length + 1);
        lowUpTo.resize(length + 1);
        for (int minute = 0; minute <= length; ++minute) {
            price[minute] = path.PriceAt(minute);
            highUpTo[minute] =
                minute ? std::max(highUpTo[minute - 1], price[minute]) : price[minute];
            lowUpTo[minute] = minute ? std::min(lowUpTo[minute - 1], price[minute]) : price[minute];
        }
    }
};

// The part of a session that one quote needs.
struct SessionView {
    double prevClose, yearHigh, yearLow, last, dayHigh, dayLow;
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
    return {
        cache.prevClose,           cache.yearHigh,          cache.yearLow, cache.price[at.minute],
        cache.highUpTo[at.minute], cache.lowUpTo[at.minute]};
}

double RoundTo(double value, int decimals) {
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    const double scale = kScale[decimals];
    return std::round(value * scale) / scale;
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
    q.prevClose = view.prevClose;
    q.yearHigh = view.yearHigh;
    q.yearLow = view.yearLow;
    q.traded = TradesInSession(p, at.session);
    q.tradeDate = CivilFromDays(at.sessionDay);
    q.tradeMinute = market.openMinute + at.minute;
    if (q.traded) {
        q.last = view.last;
        q.dayHigh = view.dayHigh;
        q.dayLow = view.dayLow;
    } else {
        // Nothing traded: the last trade is the previous session's close.
        q.last = q.dayHigh = q.dayLow = q.prevClose;
        q.tradeDate = CivilFromDays(SessionDay(market, at.session - 1));
        q.tradeMinute = market.closeMinute;
    }
    q.yearHigh = std::max(q.yearHigh, q.dayHigh);
    q.yearLow = std::min(q.yearLow, q.dayLow);
    q.decimals = (instrument.kind == InstrumentKind::currency || q.last < 1.0) ? 4 : 2;
    for (double* v : {&q.last, &q.prevClose, &q.dayHigh, &q.dayLow, &q.yearHigh, &q.yearLow}) {
        *v = RoundTo(*v, q.decimals);
    }
    if (instrument.kind == InstrumentKind::stock) {
        const double today = p.typicalVolume * std::exp(0.4 * Gauss(Hash(p.seed, at.session, 5)));
        const double share = at.length > 0 ? static_cast<double>(at.minute) / at.length : 1.0;
        q.volume = q.traded ? static_cast<std::uint64_t>(today * std::pow(share, 0.85)) : 0;
    }
    q.sharesOutstanding = p.sharesOutstanding;
    q.eps = p.eps;
    q.quoteUnitsPerMoney = p.quoteUnitsPerMoney;
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

}  // namespace quotes
