#include "common/number_text.h"

#include <cmath>

namespace quotes {
namespace {

constexpr double kScale[] = {1, 10, 100, 1000, 10000};
constexpr unsigned long long kUnits[] = {1, 10, 100, 1000, 10000};

int ClampDecimals(int decimals) {
    return decimals < 0 ? 0 : decimals > 4 ? 4 : decimals;
}

}  // namespace

void AppendDigits(std::string& out, unsigned long long value, int minDigits) {
    char buffer[24];
    char* const end = buffer + sizeof buffer;
    char* p = end;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 || end - p < minDigits);
    out.append(p, end);
}

void AppendNumber(std::string& out, double value, int decimals) {
    decimals = ClampDecimals(decimals);
    const double scaled = std::fabs(value) * kScale[decimals];
    if (!(scaled < 9e17)) {
        out += kNotAvailable;
        return;
    }
    const auto units = static_cast<unsigned long long>(std::llround(scaled));
    if (value < 0 && units != 0) out += '-';
    AppendDigits(out, units / kUnits[decimals]);
    if (decimals > 0) {
        out += '.';
        AppendDigits(out, units % kUnits[decimals], decimals);
    }
}

void AppendSigned(std::string& out, double value, int decimals) {
    decimals = ClampDecimals(decimals);
    if (!(std::fabs(value) * kScale[decimals] < 9e17)) {
        out += kNotAvailable;
        return;
    }
    if (std::llround(std::fabs(value) * kScale[decimals]) == 0) {
        out += "0.00";
        return;
    }
    out += value < 0 ? '-' : '+';
    AppendNumber(out, std::fabs(value), decimals);
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
    AppendDigits(out, static_cast<unsigned>(d.month));
    out += '/';
    AppendDigits(out, static_cast<unsigned>(d.day));
    out += '/';
    AppendDigits(out, static_cast<unsigned>(d.year));
}

void AppendTradeTime(std::string& out, int minuteOfDay) {
    const int hour = (minuteOfDay / 60) % 24;
    AppendDigits(out, static_cast<unsigned>(hour % 12 == 0 ? 12 : hour % 12));
    out += ':';
    AppendDigits(out, static_cast<unsigned>(minuteOfDay % 60), 2);
    out += hour < 12 ? "am" : "pm";
}

void AppendIsoDate(std::string& out, const CivilDate& d) {
    AppendDigits(out, static_cast<unsigned>(d.year), 4);
    out += '-';
    AppendDigits(out, static_cast<unsigned>(d.month), 2);
    out += '-';
    AppendDigits(out, static_cast<unsigned>(d.day), 2);
}

}  // namespace quotes
