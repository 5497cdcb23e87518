#include "protocol/tag_writers.h"

#include "common/number_text.h"

namespace quotes::tags {

bool Price(std::string& out, const QuoteValues& v, Figure value) {
    if (!value) return false;
    AppendNumber(out, *value, v.decimals);
    return true;
}

bool Range(std::string& out, const QuoteValues& v, Figure low, Figure high) {
    if (!low || !high) return false;
    Price(out, v, low);
    out += " - ";
    return Price(out, v, high);
}

bool Money(std::string& out, Figure value) {
    if (!value) return false;
    AppendNumber(out, *value, 2);
    return true;
}

bool Signed(std::string& out, const QuoteValues& v, Figure value) {
    if (!value) return false;
    AppendSigned(out, *value, v.decimals);
    return true;
}

bool Percent(std::string& out, Figure value) {
    if (!value) return false;
    AppendPercent(out, *value);
    return true;
}

bool PriceOver(std::string& out, const QuoteValues& v, Figure denominator) {
    if (!v.last || !denominator || !(*denominator > 0)) return false;
    AppendNumber(out, *v.last / *denominator, 2);
    return true;
}

bool Distance(std::string& out, const QuoteValues& v, Figure from) {
    if (!v.last || !from) return false;
    AppendNumber(out, *v.last - *from, v.decimals);
    return true;
}

bool SignedDistance(std::string& out, const QuoteValues& v, Figure from) {
    if (!v.last || !from) return false;
    return Signed(out, v, *v.last - *from);
}

bool PercentFrom(std::string& out, const QuoteValues& v, Figure from) {
    if (!v.last || !from || !(*from > 0)) return false;
    AppendPercent(out, (*v.last - *from) / *from * 100);
    return true;
}

Figure Change(const QuoteValues& v) {
    if (v.last && v.previousClose) return *v.last - *v.previousClose;
    return v.change;
}

Figure ChangePercent(const QuoteValues& v) {
    if (v.last && v.previousClose && *v.previousClose > 0) {
        return (*v.last - *v.previousClose) / *v.previousClose * 100;
    }
    return v.changePercent;
}

bool Count(std::string& out, std::optional<std::uint64_t> value) {
    if (!value) return false;
    AppendDigits(out, *value);
    return true;
}

bool BigMoney(std::string& out, Figure value) {
    if (!value) return false;
    AppendBigMoney(out, *value);
    return true;
}

bool ShareCount(std::string& out, Figure value) {
    if (!value) return false;
    AppendShareCount(out, *value);
    return true;
}

bool Date(std::string& out, const std::optional<CivilDate>& date) {
    if (!date) return false;
    AppendTradeDate(out, *date);
    return true;
}

bool Time(std::string& out, const std::optional<int>& minute) {
    if (!minute) return false;
    AppendTradeTime(out, *minute);
    return true;
}

bool Text(std::string& out, std::string_view text) {
    if (text.empty()) return false;
    // One pass without a branch a character: most texts are plain and appended whole.
    bool odd = false;
    for (char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        odd |= (u == '"') | (u < 0x20) | (u == 0x7F);
    }
    if (!odd) {
        out += text;
        return true;
    }
    for (char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        out += ch == '"' ? '\'' : (u < 0x20 || u == 0x7F) ? ' ' : ch;
    }
    return true;
}

}  // namespace quotes::tags
