#include "model/exchange_table.h"

#include "model/fixed_text.h"

const ExchangeEntry ExchangeTable[kExchangeCount] = {
    {u"USA Major", u"USA", u'U'},
    {u"Canada TSE", u"TO", u'T'},
    {u"Canada Venture", u"V", u'V'},
    {u"USA Chic BOT", u"CBT", u'1'},
    {u"USA CMEX", u"CME", u'2'},
    {u"USA NY NYB", u"NYB", u'3'},
    {u"USA NY CMX", u"CMX", u'4'},
    {u"USA NYMEX", u"NYM", u'5'},
    {u"USA OTC", u"OB", u'6'},
    {u"USA Pink", u"PK", u'7'},
    {u"Argentina", u"BA", u'8'},
    {u"Austria Vienna", u"VA", u'9'},
    {u"Australia", u"AX", u'A'},
    {u"Brazil", u"SA", u'a'},
    {u"China Shanghai", u"SS", u'b'},
    {u"China Shenzen", u"SZ", u'c'},
    {u"Denmark", u"CO", u'd'},
    {u"France", u"PA", u'F'},
    {u"Germany Berlin", u"BE", u'e'},
    {u"Germany Bremen", u"BM", u'f'},
    {u"Germany Dusseldorf", u"DU", u'D'},
    {u"Germany Frankfurt", u"F", u'g'},
    {u"Germany Hamburg", u"HM", u'h'},
    {u"Germany Hanover", u"HA", u'i'},
    {u"Germany Munich", u"MU", u'j'},
    {u"Germany Stuttgart", u"SG", u'k'},
    {u"Germany XETRA", u"DE", u'l'},
    {u"Hong Kong", u"HK", u'm'},
    {u"India Bombay", u"BO", u'n'},
    {u"India National", u"NS", u'o'},
    {u"Indonesia", u"JK", u'p'},
    {u"Israel Tel Aviv", u"TA", u'q'},
    {u"Italy", u"MI", u'I'},
    {u"South Korea (KS)", u"KS", u'r'},
    {u"South Korea KOSDAQ", u"KQ", u's'},
    {u"Mexico", u"MX", u't'},
    {u"Netherlands", u"AS", u'u'},
    {u"New Zealand", u"NZ", u'v'},
    {u"Norway Oslo", u"OL", u'w'},
    {u"Singapore", u"SI", u'x'},
    {u"Spain Barcelona", u"BC", u'y'},
    {u"Spain Bilbao", u"BI", u'z'},
    {u"Spain Fixed Inc", u"MF", u'H'},
    {u"Spain C.A.T.S", u"MC", u'K'},
    {u"Spain Stock Exch", u"MA", u'S'},
    {u"Sweden Stockholm", u"ST", u'W'},
    {u"Switzerland", u"SW", u'Z'},
    {u"Taiwan OTC", u"TWO", u'X'},
    {u"Taiwan Stock Exch", u"TW", u'Y'},
    {u"United Kingdom", u"L", u'G'},
};

namespace {

// A code is one character and the end of the text.
bool CodeMatches(const ExchangeEntry& entry, const char16_t* code) {
    return code[0] == entry.code && code[1] == 0;
}

}  // namespace

const ExchangeEntry* FindExchangeByCode(const char16_t* code) {
    if (!code) return nullptr;
    for (const ExchangeEntry& entry : ExchangeTable) {
        if (CodeMatches(entry, code)) return &entry;
    }
    return nullptr;
}

const ExchangeEntry* FindExchangeBySuffix(const char16_t* suffix) {
    if (!suffix) return nullptr;
    for (const ExchangeEntry& entry : ExchangeTable) {
        if (TextEquals(entry.suffix, suffix)) return &entry;
    }
    return nullptr;
}

const char16_t* SuffixForCode(const char16_t* code) {
    if (!code) return u"";
    if (FindChar(code, u'C')) return ExchangeTable[1].suffix;
    const ExchangeEntry* entry = FindExchangeByCode(code);
    return entry ? entry->suffix : u"";
}

char16_t CodeForSuffix(const char16_t* suffix) {
    const ExchangeEntry* entry = FindExchangeBySuffix(suffix);
    return entry ? entry->code : 0;
}

void RequestSuffixForCode(const char16_t* code, char16_t (&out)[kRequestSuffixWidth]) {
    ClearText(out);
    const ExchangeEntry* entry = FindExchangeByCode(code);
    if (!entry || entry == &ExchangeTable[0]) return;
    SetText(out, u".");
    AddText(out, entry->suffix);
}
