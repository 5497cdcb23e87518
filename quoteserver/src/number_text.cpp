#include "number_text.h"

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

void AppendSharesOutstanding(std::string& out, double shares) {
    std::string digits;
    AppendDigits(digits, static_cast<unsigned long long>(shares));
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    if (text.size() < 15) out.append(15 - text.size(), ' ');
    out += text;
}

void AppendBigMoney(std::string& out, double value) {
    // Trillions keep two decimals, as "1.03T"; the others one.
    if (std::fabs(value) >= 1e12) {
        AppendNumber(out, value / 1e12, 2);
        out += 'T';
    } else if (std::fabs(value) >= 1e9) {
        AppendNumber(out, value / 1e9, 1);
        out += 'B';
    } else {
        AppendNumber(out, value / 1e6, 1);
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

void AppendMonthDay(std::string& out, const CivilDate& d) {
    static constexpr std::string_view kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    out += kMonths[(d.month - 1) % 12];
    out += ' ';
    AppendDigits(out, static_cast<unsigned>(d.day));
}

void AppendIsoDate(std::string& out, const CivilDate& d) {
    AppendDigits(out, static_cast<unsigned>(d.year), 4);
    out += '-';
    AppendDigits(out, static_cast<unsigned>(d.month), 2);
    out += '-';
    AppendDigits(out, static_cast<unsigned>(d.day), 2);
}

}  // namespace quotes
