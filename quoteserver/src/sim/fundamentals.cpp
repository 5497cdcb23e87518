#include "sim/fundamentals.h"

#include "sim/draws.h"

namespace quotes {
namespace {

constexpr int kDaysToPayment = 21;

double Between(std::uint64_t seed, int place, double low, double high) {
    return low + (high - low) * Uniform(Hash(seed, 100 + place));
}

}  // namespace

Fundamentals MakeFundamentals(std::uint64_t seed, double price, std::optional<double> eps) {
    Fundamentals f;
    f.bookValue = price / Between(seed, 1, 1.0, 6.0);
    f.salesPerShare = price / Between(seed, 2, 0.5, 8.0);
    const double earnings = eps && *eps > 0 ? *eps : price / 40;
    f.ebitdaPerShare = earnings * Between(seed, 3, 1.4, 2.6);
    f.epsGrowth = Between(seed, 4, 0.03, 0.25);
    f.shortRatio = Between(seed, 5, 0.5, 8.0);
    f.targetFactor = Between(seed, 6, 0.95, 1.30);
    // Six companies in ten pay a dividend, of up to 4.5 % of the price.
    if (eps && *eps > 0 && Uniform(Hash(seed, 107)) < 0.6) {
        f.dividend = price * Between(seed, 8, 0.005, 0.045);
        f.exDividendDay = static_cast<int>(Between(seed, 9, 5, 60));
    }
    return f;
}

DividendDates LastDividendDates(const Fundamentals& f, CivilDate today) {
    const std::int64_t now = DaysFromCivil(today);
    int year = today.year;
    int quarterMonth = (today.month - 1) / 3 * 3 + 1;
    std::int64_t ex = DaysFromCivil({year, quarterMonth, 1}) + f.exDividendDay;
    if (ex > now) {  // this quarter's has not come yet: the last quarter's
        quarterMonth -= 3;
        if (quarterMonth < 1) {
            quarterMonth += 12;
            --year;
        }
        ex = DaysFromCivil({year, quarterMonth, 1}) + f.exDividendDay;
    }
    return {CivilFromDays(ex), CivilFromDays(ex + kDaysToPayment)};
}

}  // namespace quotes
