#include "common/number_text.h"

#include <cmath>

namespace quotes {
namespace {

constexpr double kScale[] = {1, 10, 100, 1000, 10000};
constexpr unsigned long long kUnits[] = {1, 10, 100, 1000, 10000};

int ClampDecimals(int decimals) {
    return decimals < 0 ? 0 : decimals > 4 ? 4 : decimals;
}

// "00" to "99", two digits a division.
constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes `value` with at least `minDigits` digits so that it ends just before `end`; returns
// where it starts.
char* DigitsBefore(char* end, unsigned long long value, int minDigits) {
    char* p = end;
    while (value >= 100) {
        const auto pair = static_cast<std::size_t>(value % 100) * 2;
        value /= 100;
        *--p = kPairs[pair + 1];
        *--p = kPairs[pair];
    }
    if (value >= 10) {
        const auto pair = static_cast<std::size_t>(value) * 2;
        *--p = kPairs[pair + 1];
        *--p = kPairs[pair];
    } else {
        *--p = static_cast<char>('0' + value);
    }
    while (end - p < minDigits) *--p = '0';
    return p;
}

// std::llround of a number in [0, 9e17), without the library call: the sum's rounding to the
// nearest double can only carry it one too far, which the difference tells.
unsigned long long RoundHalfUp(double value) {
    auto units = static_cast<unsigned long long>(value + 0.5);
    if (static_cast<double>(units) - value > 0.5) --units;
    return units;
}

}  // namespace

void AppendDigits(std::string& out, unsigned long long value, int minDigits) {
    char buffer[24];
    char* const end = buffer + sizeof buffer;
    out.append(DigitsBefore(end, value, minDigits < 20 ? minDigits : 20), end);
}

namespace {

// The text of `units` hundredths (or tenths, ...) with `decimals` places, ending just before
// `end`; returns where it starts.
char* FixedBefore(char* end, unsigned long long units, int decimals) {
    char* p = end;
    if (decimals > 0) {
        p = DigitsBefore(end, units % kUnits[decimals], decimals);
        *--p = '.';
    }
    return DigitsBefore(p, units / kUnits[decimals], 0);
}

}  // namespace

void AppendNumber(std::string& out, double value, int decimals) {
    decimals = ClampDecimals(decimals);
    const double scaled = std::fabs(value) * kScale[decimals];
    if (!(scaled < 9e17)) {
        out += kNotAvailable;
        return;
    }
    const unsigned long long units = RoundHalfUp(scaled);
    // The whole number in one buffer, written from its end, and appended at once.
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    char* p = FixedBefore(end, units, decimals);
    if (value < 0 && units != 0) *--p = '-';
    out.append(p, end);
}

void AppendSigned(std::string& out, double value, int decimals) {
    decimals = ClampDecimals(decimals);
    const double scaled = std::fabs(value) * kScale[decimals];
    if (!(scaled < 9e17)) {
        out += kNotAvailable;
        return;
    }
    const unsigned long long units = RoundHalfUp(scaled);
    if (units == 0) {
        out += "0.00";
        return;
    }
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    char* p = FixedBefore(end, units, decimals);
    *--p = value < 0 ? '-' : '+';
    out.append(p, end);
}

void AppendPercent(std::string& out, double value) {
    AppendSigned(out, value, 2);
    out += '%';
}

void AppendShareCount(std::string& out, double shares) {
    if (!(shares >= 0 && shares < 9e17)) {
        out += kNotAvailable;
        return;
    }
    AppendDigits(out, static_cast<unsigned long long>(std::llround(shares)));
}

void AppendBigMoney(std::string& out, double value) {
    if (!(std::fabs(value) < 9e24)) {  // no hundredth of a billion would hold it
        out += kNotAvailable;
        return;
    }
    if (std::fabs(value) >= 1e9) {
        AppendNumber(out, value / 1e9, 2);
        out += 'B';
    } else {
        AppendNumber(out, value / 1e6, 2);
        out += 'M';
    }
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    out += text;
    out += '"';
}

void AppendTradeDate(std::string& out, const CivilDate& d) {
    char buffer[48];  // three numbers of up to 10 digits and their slashes
    char* const end = buffer + sizeof buffer;
    char* p = DigitsBefore(end, static_cast<unsigned>(d.year), 1);
    *--p = '/';
    p = DigitsBefore(p, static_cast<unsigned>(d.day), 1);
    *--p = '/';
    p = DigitsBefore(p, static_cast<unsigned>(d.month), 1);
    out.append(p, end);
}

void AppendTradeTime(std::string& out, int minuteOfDay) {
    const int hour = (minuteOfDay / 60) % 24;
    char buffer[48];  // two numbers of up to 10 digits, ":" and "am"
    char* const end = buffer + sizeof buffer;
    char* p = end;
    *--p = 'm';
    *--p = hour < 12 ? 'a' : 'p';
    p = DigitsBefore(p, static_cast<unsigned>(minuteOfDay % 60), 2);
    *--p = ':';
    p = DigitsBefore(p, static_cast<unsigned>(hour % 12 == 0 ? 12 : hour % 12), 1);
    out.append(p, end);
}

void AppendIsoDate(std::string& out, const CivilDate& d) {
    AppendDigits(out, static_cast<unsigned>(d.year), 4);
    out += '-';
    AppendDigits(out, static_cast<unsigned>(d.month), 2);
    out += '-';
    AppendDigits(out, static_cast<unsigned>(d.day), 2);
}

}  // namespace quotes
