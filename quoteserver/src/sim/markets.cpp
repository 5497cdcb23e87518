#include "sim/markets.h"

#include <array>

namespace quotes {
namespace {

constexpr int H(int hour, int minute = 0) {
    return hour * 60 + minute;
}

// London and Tel Aviv quote in pence and agorot, as their services did: their currencies are
// the minor units "GBp" and "ILA".
constexpr std::array kMarkets = {
    Market{"", "USA", -300, H(9, 30), H(16), kMondayToFriday, 60, "USD", "NMS"},
    Market{"TO", "Toronto", -300, H(9, 30), H(16), kMondayToFriday, 40, "CAD", "TOR"},
    Market{"V", "TSX Venture", -300, H(9, 30), H(16), kMondayToFriday, 1.5, "CAD", "VAN"},
    Market{"CBT", "Chicago Board of Trade", -360, H(8, 30), H(13, 15), kMondayToFriday, 400, "USD",
           "CBT"},
    Market{"CME", "Chicago Mercantile", -360, H(8, 30), H(15, 15), kMondayToFriday, 1400, "USD",
           "CME"},
    Market{"NYB", "New York Board of Trade", -300, H(8), H(14), kMondayToFriday, 90, "USD", "NYB"},
    Market{"CMX", "COMEX", -300, H(8, 20), H(13, 30), kMondayToFriday, 600, "USD", "CMX"},
    Market{"NYM", "NYMEX", -300, H(9), H(14, 30), kMondayToFriday, 60, "USD", "NYM"},
    Market{"OB", "OTC Bulletin Board", -300, H(9, 30), H(16), kMondayToFriday, 0.8, "USD", "OBB"},
    Market{"PK", "Pink Sheets", -300, H(9, 30), H(16), kMondayToFriday, 0.3, "USD", "PNK"},
    Market{"BA", "Buenos Aires", -180, H(11), H(17), kMondayToFriday, 8, "ARS", "BUE"},
    Market{"VA", "Vienna", 60, H(9), H(17, 30), kMondayToFriday, 50, "EUR", "VIE"},
    Market{"AX", "Australia", 600, H(10), H(16), kMondayToFriday, 15, "AUD", "ASX"},
    Market{"SA", "Sao Paulo", -180, H(10), H(17), kMondayToFriday, 35, "BRL", "SAO"},
    Market{"SS", "Shanghai", 480, H(9, 30), H(15), kMondayToFriday, 12, "CNY", "SHH"},
    Market{"SZ", "Shenzhen", 480, H(9, 30), H(15), kMondayToFriday, 10, "CNY", "SHZ"},
    Market{"CO", "Copenhagen", 60, H(9), H(17), kMondayToFriday, 400, "DKK", "CPH"},
    Market{"PA", "Paris", 60, H(9), H(17, 30), kMondayToFriday, 60, "EUR", "PAR"},
    Market{"BE", "Berlin", 60, H(8), H(20), kMondayToFriday, 40, "EUR", "BER"},
    Market{"BM", "Bremen", 60, H(8), H(20), kMondayToFriday, 40, "EUR", "BRE"},
    Market{"DU", "Dusseldorf", 60, H(8), H(20), kMondayToFriday, 40, "EUR", "DUS"},
    Market{"F", "Frankfurt", 60, H(8), H(20), kMondayToFriday, 40, "EUR", "FRA"},
    Market{"HM", "Hamburg", 60, H(8), H(20), kMondayToFriday, 40, "EUR", "HAM"},
    Market{"HA", "Hanover", 60, H(8), H(20), kMondayToFriday, 40, "EUR", "HAN"},
    Market{"MU", "Munich", 60, H(8), H(20), kMondayToFriday, 40, "EUR", "MUN"},
    Market{"SG", "Stuttgart", 60, H(8), H(20), kMondayToFriday, 40, "EUR", "STU"},
    Market{"DE", "XETRA", 60, H(9), H(17, 30), kMondayToFriday, 50, "EUR", "GER"},
    Market{"HK", "Hong Kong", 480, H(9, 30), H(16), kMondayToFriday, 60, "HKD", "HKG"},
    Market{"BO", "Bombay", 330, H(9, 15), H(15, 30), kMondayToFriday, 800, "INR", "BSE"},
    Market{"NS", "National Stock Exchange of India", 330, H(9, 15), H(15, 30), kMondayToFriday, 800,
           "INR", "NSI"},
    Market{"JK", "Jakarta", 420, H(9), H(16), kMondayToFriday, 4000, "IDR", "JKT"},
    Market{"TA", "Tel Aviv", 120, H(10), H(17, 25), kSundayToThursday, 3000, "ILA", "TLV"},
    Market{"MI", "Milan", 60, H(9), H(17, 30), kMondayToFriday, 12, "EUR", "MIL"},
    Market{"KS", "Korea Exchange", 540, H(9), H(15, 30), kMondayToFriday, 60000, "KRW", "KSC"},
    Market{"KQ", "KOSDAQ", 540, H(9), H(15, 30), kMondayToFriday, 15000, "KRW", "KOE"},
    Market{"MX", "Mexico", -360, H(8, 30), H(15), kMondayToFriday, 60, "MXN", "MEX"},
    Market{"AS", "Amsterdam", 60, H(9), H(17, 30), kMondayToFriday, 30, "EUR", "AMS"},
    Market{"NZ", "New Zealand", 720, H(10), H(16, 45), kMondayToFriday, 4, "NZD", "NZE"},
    Market{"OL", "Oslo", 60, H(9), H(16, 20), kMondayToFriday, 150, "NOK", "OSL"},
    Market{"SI", "Singapore", 480, H(9), H(17), kMondayToFriday, 3, "SGD", "SES"},
    Market{"BC", "Barcelona", 60, H(9), H(17, 30), kMondayToFriday, 20, "EUR", "BAR"},
    Market{"BI", "Bilbao", 60, H(9), H(17, 30), kMondayToFriday, 20, "EUR", "BIL"},
    Market{"MF", "Madrid Fixed Income", 60, H(9), H(17, 30), kMondayToFriday, 100, "EUR", "MDD"},
    Market{"MC", "Madrid Continuous", 60, H(9), H(17, 30), kMondayToFriday, 20, "EUR", "MCE"},
    Market{"MA", "Madrid", 60, H(9), H(17, 30), kMondayToFriday, 20, "EUR", "MAD"},
    Market{"ST", "Stockholm", 60, H(9), H(17, 30), kMondayToFriday, 150, "SEK", "STO"},
    Market{"SW", "Swiss Exchange", 60, H(9), H(17, 30), kMondayToFriday, 120, "CHF", "EBS"},
    Market{"TWO", "Taipei Exchange", 480, H(9), H(13, 30), kMondayToFriday, 50, "TWD", "TWO"},
    Market{"TW", "Taiwan Stock Exchange", 480, H(9), H(13, 30), kMondayToFriday, 80, "TWD", "TAI"},
    Market{"L", "London", 0, H(8), H(16, 30), kMondayToFriday, 400, "GBp", "LSE"},
    // Currencies trade around the clock from Monday to Friday.
    Market{"=X", "Currencies", 0, H(0), H(23, 59), kMondayToFriday, 1, "USD", "CCY"},
    // For the Nikkei 225 of the market summary; no listing of the viewer's is in Tokyo.
    Market{"T", "Tokyo", 540, H(9), H(15), kMondayToFriday, 2500, "JPY", "JPX"},
};

}  // namespace

const Market* FindMarket(std::string_view suffix) {
    for (const Market& market : kMarkets) {
        if (market.suffix == suffix) return &market;
    }
    return nullptr;
}

const Market* Markets(int& count) {
    count = static_cast<int>(kMarkets.size());
    return kMarkets.data();
}

}  // namespace quotes
