#include "quote_format.h"

#include <cmath>
#include <string_view>

#include "instruments.h"
#include "simulation.h"

namespace quotes {
namespace {

constexpr std::string_view kNotAvailable = "N/A";

enum class Tag { s, n, l1, p, c1, p2, g, h, k, j, v, d1, t1, e, r, j1, j2, unknown };

Tag TagOf(const std::string& tag) {
    static const std::pair<std::string_view, Tag> kTags[] = {
        {"s", Tag::s},   {"n", Tag::n},   {"l1", Tag::l1}, {"p", Tag::p}, {"c1", Tag::c1},
        {"p2", Tag::p2}, {"g", Tag::g},   {"h", Tag::h},   {"k", Tag::k}, {"j", Tag::j},
        {"v", Tag::v},   {"d1", Tag::d1}, {"t1", Tag::t1}, {"e", Tag::e}, {"r", Tag::r},
        {"j1", Tag::j1}, {"j2", Tag::j2},
    };
    for (const auto& [name, code] : kTags) {
        if (tag == name) return code;
    }
    return Tag::unknown;
}

// Appends the decimal digits of `value`, at least `minDigits` of them.
void AppendDigits(std::string& out, unsigned long long value, int minDigits = 1) {
    char buffer[24];
    char* const end = buffer + sizeof buffer;
    char* p = end;
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 || end - p < minDigits);
    out.append(p, end);
}

// Fixed-point text of a value with 0 to 4 decimals, rounded half away from zero. Written by
// hand: printf's float formatting was most of the cost of a reply.
void AppendNumber(std::string& out, double value, int decimals) {
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    static constexpr unsigned long long kUnits[] = {1, 10, 100, 1000, 10000};
    decimals = decimals < 0 ? 0 : decimals > 4 ? 4 : decimals;
    const double scaled = std::fabs(value) * kScale[decimals];
    if (!(scaled < 9e17)) {  // not a price this service could quote
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

// A signed change; unchanged is a bare "0.00", whatever the price's decimals.
void AppendSigned(std::string& out, double value, int decimals) {
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    if (std::llround(std::fabs(value) * kScale[decimals]) == 0) {
        out += "0.00";
        return;
    }
    out += value < 0 ? '-' : '+';
    AppendNumber(out, std::fabs(value), decimals);
}

// Shares outstanding the way the service printed them until 2015: thousands separators and
// leading spaces to 15 characters.
void AppendSharesOutstanding(std::string& out, double shares) {
    std::string digits = std::to_string(static_cast<unsigned long long>(shares));
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    if (text.size() < 15) out.append(15 - text.size(), ' ');
    out += text;
}

void AppendMarketCap(std::string& out, double value) {
    const bool billions = value >= 1e9;
    AppendNumber(out, value / (billions ? 1e9 : 1e6), 1);
    out += billions ? 'B' : 'M';
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    out += text;
    out += '"';
}

void AppendTradeDate(std::string& out, const CivilDate& d) {
    out += '"';
    AppendDigits(out, static_cast<unsigned>(d.month));
    out += '/';
    AppendDigits(out, static_cast<unsigned>(d.day));
    out += '/';
    AppendDigits(out, static_cast<unsigned>(d.year));
    out += '"';
}

void AppendTradeTime(std::string& out, int minuteOfDay) {
    const int hour = (minuteOfDay / 60) % 24;
    out += '"';
    AppendDigits(out, static_cast<unsigned>(hour % 12 == 0 ? 12 : hour % 12));
    out += ':';
    AppendDigits(out, static_cast<unsigned>(minuteOfDay % 60), 2);
    out += hour < 12 ? "am\"" : "pm\"";
}

// The instrument of a requested symbol; the service, like the one it stands in for, does
// not mind the case of what it is asked for.
const Instrument* Lookup(const std::string& symbol) {
    if (const Instrument* exact = FindInstrument(symbol)) return exact;
    std::string upper = symbol;
    for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    return FindInstrument(upper);
}

// What a reply may echo of a requested symbol: printable ASCII without double quotes, so an
// echo can neither end its text nor its line early.
std::string SafeEcho(const std::string& symbol) {
    std::string echo;
    for (char c : symbol.substr(0, 32)) echo += (c > 0x20 && c < 0x7F && c != '"') ? c : '?';
    return echo;
}

void AppendUnknown(std::string& out, Tag tag, const std::string& echo) {
    switch (tag) {
        case Tag::s:
        case Tag::n:
            AppendQuoted(out, echo);
            return;
        case Tag::l1:
            out += "0.00";
            return;
        case Tag::p2:
        case Tag::d1:
        case Tag::t1:
            AppendQuoted(out, kNotAvailable);
            return;
        default:
            out += kNotAvailable;
            return;
    }
}

void AppendValue(std::string& out, Tag tag, const std::string& symbol, const Instrument& inst,
                 const Quote& q) {
    const double money = q.quoteUnitsPerMoney;
    switch (tag) {
        case Tag::s:
            AppendQuoted(out, symbol);
            return;
        case Tag::n:
            AppendQuoted(out, inst.name);
            return;
        case Tag::l1:
            AppendNumber(out, q.last, q.decimals);
            return;
        case Tag::p:
            AppendNumber(out, q.prevClose, q.decimals);
            return;
        case Tag::c1:
            AppendSigned(out, q.last - q.prevClose, q.decimals);
            return;
        case Tag::p2:
            out += '"';
            AppendSigned(out, q.prevClose > 0 ? (q.last - q.prevClose) / q.prevClose * 100 : 0, 2);
            out += "%\"";
            return;
        case Tag::g:
        case Tag::h:
            if (!q.traded) break;
            AppendNumber(out, tag == Tag::g ? q.dayLow : q.dayHigh, q.decimals);
            return;
        case Tag::k:
            AppendNumber(out, q.yearHigh, q.decimals);
            return;
        case Tag::j:
            AppendNumber(out, q.yearLow, q.decimals);
            return;
        case Tag::v:
            if (!q.volume) break;
            AppendDigits(out, *q.volume);
            return;
        case Tag::d1:
            AppendTradeDate(out, q.tradeDate);
            return;
        case Tag::t1:
            AppendTradeTime(out, q.tradeMinute);
            return;
        case Tag::e:
            if (!q.eps) break;
            AppendNumber(out, *q.eps, 2);
            return;
        case Tag::r:
            if (!q.eps || *q.eps <= 0) break;
            AppendNumber(out, q.last / money / *q.eps, 2);
            return;
        case Tag::j1:
            if (!q.sharesOutstanding) break;
            AppendMarketCap(out, q.last / money * *q.sharesOutstanding);
            return;
        case Tag::j2:
            if (!q.sharesOutstanding) break;
            AppendSharesOutstanding(out, *q.sharesOutstanding);
            return;
        case Tag::unknown:
            break;
    }
    out += kNotAvailable;
}

void AppendLine(std::string& out, const std::string& symbol, const std::vector<Tag>& tags,
                std::int64_t utcSeconds) {
    const Instrument* instrument = Lookup(symbol);
    if (!instrument) {
        const std::string echo = SafeEcho(symbol);
        for (std::size_t i = 0; i < tags.size(); ++i) {
            if (i > 0) out += ',';
            AppendUnknown(out, tags[i], echo);
        }
        return;
    }
    const Quote quote = SimulateQuote(*instrument, utcSeconds);
    for (std::size_t i = 0; i < tags.size(); ++i) {
        if (i > 0) out += ',';
        AppendValue(out, tags[i], symbol, *instrument, quote);
    }
}

std::vector<Tag> TagCodes(const std::vector<std::string>& tags) {
    std::vector<Tag> codes;
    codes.reserve(tags.size());
    for (const std::string& tag : tags) codes.push_back(TagOf(tag));
    return codes;
}

}  // namespace

std::string FormatQuoteLine(const std::string& symbol, const std::vector<std::string>& tags,
                            std::int64_t utcSeconds) {
    std::string line;
    AppendLine(line, symbol, TagCodes(tags), utcSeconds);
    return line;
}

std::string FormatQuoteReply(const std::vector<std::string>& symbols,
                             const std::vector<std::string>& tags, std::int64_t utcSeconds) {
    const std::vector<Tag> codes = TagCodes(tags);
    std::string body;
    body.reserve(symbols.size() * (40 + 10 * codes.size()));
    for (const std::string& symbol : symbols) {
        AppendLine(body, symbol, codes, utcSeconds);
        body += "\r\n";
    }
    return body;
}

}  // namespace quotes
