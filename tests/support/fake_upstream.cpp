#include "support/fake_upstream.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <fstream>
#include <sstream>

namespace tickwell_test {
namespace {

using Json = nlohmann::json;

const char* const kInvalidCrumb =
    R"({"finance":{"result":null,"error":{"code":"Unauthorized","description":"Invalid Crumb"}}})";
const char* const kChartNotFound =
    R"({"chart":{"result":null,"error":{"code":"Not Found","description":"No data found, symbol may be delisted"}}})";

std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> items;
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, ',');) items.push_back(item);
    return items;
}

// v7's result for the symbols: the recorded AAPL and MSFT; symbols beginning with "R1" (the
// rows of a large portfolio) as copies of AAPL under their own symbol, "NP" the same without a
// price; nothing for the rest.
std::string V7Body(const std::string& symbols) {
    const Json recorded = Json::parse(RecordedBody("yahoo-quote-v7-AAPL-MSFT.json"));
    const Json& items = recorded["quoteResponse"]["result"];
    Json result = Json::array();
    for (const std::string& symbol : SplitList(symbols)) {
        for (const Json& item : items) {
            if (item["symbol"] == symbol) result.push_back(item);
        }
        if (symbol.rfind("R1", 0) == 0) {
            Json copy = items[0];
            copy["symbol"] = symbol;
            result.push_back(copy);
        }
        if (symbol.rfind("NP", 0) == 0) {  // listed, without a price
            Json copy = items[0];
            copy["symbol"] = symbol;
            copy.erase("regularMarketPrice");
            result.push_back(copy);
        }
    }
    return Json{{"quoteResponse", {{"result", result}, {"error", nullptr}}}}.dump();
}

// Twelve Data's answer: one symbol's quote itself, several keyed by symbol; the recorded error
// object for INVALID and one like it for any other symbol not recorded.
std::string TwelveDataBody(const std::vector<std::string>& symbols) {
    const Json quotes = Json::parse(RecordedBody("twelvedata-quote-batch-AAPL-MSFT.json"));
    const Json errors = Json::parse(RecordedBody("twelvedata-batch-error-INVALID.json"));
    Json answer = Json::object();
    for (const std::string& symbol : symbols) {
        if (quotes.contains(symbol)) {
            answer[symbol] = quotes[symbol];
        } else {
            Json error = errors["INVALID"];
            error["message"] = "**symbol** not found: " + symbol;
            answer[symbol] = error;
        }
    }
    return (symbols.size() == 1 ? answer[symbols[0]] : answer).dump();
}

// Yahoo's consent form as its EU visitors meet it, in short: hidden fields, then the choices.
const char* const kConsentPage =
    "<html><body><form method=\"post\" action=\"/v2/collectConsent?sessionId=s1\" "
    "class=\"consent-form\"><input type=\"hidden\" name=\"csrfToken\" value=\"t&amp;1\">"
    "<input type='hidden' name='sessionId' value='s1'/><input type=\"hidden\" "
    "name=\"originalDoneUrl\" value=\"http://127.0.0.1/done?guccounter=1\">"
    "<input type=\"hidden\" name=\"namespace\" value=\"yahoo\">"
    "<button type=\"submit\" name=\"agree\" value=\"agree\">Accept all</button>"
    "<button type=\"submit\" name=\"reject\" value=\"reject\">Reject all</button>"
    "</form></body></html>";
// The spark endpoint's v7 form: each symbol's day a rise from 100 to its index + 101, the
// previous close 100.
std::string SparkBody(const std::vector<std::string>& symbols) {
    Json results = Json::array();
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const double last = 101.0 + static_cast<double>(i);
        Json chart = {{"meta",
                       {{"symbol", symbols[i]},
                        {"regularMarketPrice", last},
                        {"chartPreviousClose", 100},
                        {"priceHint", 2}}},
                      {"timestamp", {1761744600, 1761744900, 1761745200}},
                      {"indicators", {{"quote", {{{"close", {100.0, (100 + last) / 2, last}}}}}}}};
        results.push_back({{"symbol", symbols[i]}, {"response", {chart}}});
    }
    return Json{{"spark", {{"result", results}, {"error", nullptr}}}}.dump();
}

// A headline feed as Yahoo's looks, written for the tests: an item whose description holds
// markup, one with a title beyond ASCII, one without a date.
const char* const kFeed = R"(<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0"><channel><title>Yahoo! Finance: MSFT News</title>
<item><title>Microsoft beats estimates</title><link>https://finance.example/a1</link>
<description>&lt;p&gt;Revenue rose &lt;b&gt;18%&lt;/b&gt;. Shares gained after hours.&lt;/p&gt;&lt;script&gt;alert(1)&lt;/script&gt;</description>
<pubDate>Wed, 29 Oct 2025 20:05:00 +0000</pubDate><source url="https://r.example">Reuters</source></item>
<item><title>Zürich fund buys Microsoft – a stake “worth €2bn”</title><link>javascript:alert(2)</link>
<description><![CDATA[A <i>quiet</i> purchase]]></description><pubDate>Tue, 28 Oct 2025 09:30:00 GMT</pubDate></item>
<item><title>Undated note</title><link>https://finance.example/a3</link></item>
</channel></rss>)";
const char* const kEmptyFeed =
    R"(<?xml version="1.0"?><rss version="2.0"><channel><title>none</title></channel></rss>)";

const char* const kConsentReply =
    "csrfToken=t%261&sessionId=s1&originalDoneUrl=http%3A%2F%2F127.0.0.1%2Fdone%3Fguccounter%3D1"
    "&namespace=yahoo&reject=reject";

}  // namespace

std::string RecordedBody(const std::string& name) {
    std::ifstream in(std::string(TICKWELL_UPSTREAM_SAMPLES) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct FakeUpstream::Impl {
    httplib::Server server;
    mutable std::mutex mutex;
    std::map<std::string, UpstreamFault> faults;
    std::map<std::string, int> calls;
    std::vector<std::string> requests;
    CookiePage cookiePage = CookiePage::plain;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> headers;
    int crumbs = 0;
    std::string badCrumb;  // the crumb the unauthorized fault refuses

    UpstreamFault FaultFor(const std::string& path) {
        std::lock_guard<std::mutex> lock(mutex);
        ++calls[path];

        for (const auto& [prefix, fault] : faults) {
            if (path.rfind(prefix, 0) == 0) return fault;
        }
        return UpstreamFault::none;
    }

    void Record(const httplib::Request& req) {
        std::string line = req.target + "|";
        for (const auto& [name, value] : req.headers) line += name + ": " + value + "\n";
        std::lock_guard<std::mutex> lock(mutex);
        requests.push_back(line);
    }

    // True when the fault answered the request.
    bool Disturb(UpstreamFault fault, const std::string& body, httplib::Response& res) {
        switch (fault) {
            case UpstreamFault::none: return false;
            case UpstreamFault::unauthorized: return false;  // the crumb check answers
            case UpstreamFault::tooMany:
                res.status = 429;
                res.set_content("Edge: Too Many Requests", "text/plain");
                return true;
            case UpstreamFault::tooManyRetryAfter:
                res.status = 429;
                res.set_header("Retry-After", "120");
                res.set_content("Edge: Too Many Requests", "text/plain");
                return true;
            case UpstreamFault::tooManyText:
                res.set_content("Too Many Requests", "text/plain");
                return true;
            case UpstreamFault::serverError:
                res.status = 500;
                res.set_content("<html>500</html>", "text/html");
                return true;
            case UpstreamFault::stall:
                res.set_chunked_content_provider(
                    "application/json", [](std::size_t, httplib::DataSink&) {
                        std::this_thread::sleep_for(std::chrono::seconds(3));
                        return false;
                    });
                return true;
            case UpstreamFault::consentPage:
                res.set_content("<html><body>Before you continue to Yahoo</body></html>",
                                "text/html");
                return true;
            case UpstreamFault::truncatedJson:
                res.set_content(body.substr(0, body.size() / 2), "application/json");
                return true;
            case UpstreamFault::outOfCredits:
                res.set_content(
                    R"({"code":429,"message":"You have run out of API credits for the current minute.","status":"error"})",
                    "application/json");
                return true;
            case UpstreamFault::hugeBody:
                res.set_content(std::string(5 * 1024 * 1024, '['), "application/json");
                return true;
        }
        return false;
    }

    static void SetCookie(httplib::Response& res, int status) {
        res.status = status;
        res.set_header("Set-Cookie", "A3=d=fakecookie; Domain=.yahoo.com; Path=/; Secure");
        res.set_content("<html>not here</html>", "text/html");
    }

    void Answer(const httplib::Request& req, httplib::Response& res, const std::string& body,
                int status = 200) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            for (const auto& [prefix, extra] : headers) {
                if (req.path.rfind(prefix, 0) != 0) continue;
                for (const auto& [name, value] : extra) res.set_header(name, value);
            }
        }
        if (Disturb(FaultFor(req.path), body, res)) return;
        res.status = status;
        res.set_content(body, "application/json");
    }

    void Routes() {
        server.set_logger(
            [this](const httplib::Request& req, const httplib::Response&) { Record(req); });
        server.Get("/", [this](const httplib::Request& req, httplib::Response& res) {
            if (Disturb(FaultFor(req.path), "", res)) return;
            CookiePage way;
            {
                std::lock_guard<std::mutex> lock(mutex);
                way = cookiePage;
            }
            switch (way) {
                case CookiePage::plain: return SetCookie(res, 404);
                case CookiePage::redirects: return res.set_redirect("/hop/3");
                case CookiePage::endless: return res.set_redirect("/hop/99");
                case CookiePage::consentWall: return res.set_redirect("/consent?sessionId=s1");
                case CookiePage::none: res.set_content("<html>no cookie</html>", "text/html");
            }
        });
        server.Get("/home/", [this](const httplib::Request& req, httplib::Response& res) {
            if (!Disturb(FaultFor(req.path), "", res)) SetCookie(res, 200);
        });
        server.Get(R"(/hop/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
            FaultFor(req.path);
            const int left = std::stoi(req.matches[1]);
            if (left <= 1) return SetCookie(res, 200);
            res.set_redirect("/hop/" + std::to_string(left - 1));
        });
        server.Get("/consent", [this](const httplib::Request& req, httplib::Response& res) {
            FaultFor(req.path);
            res.set_content(kConsentPage, "text/html");
        });
        server.Post("/v2/collectConsent",
                    [this](const httplib::Request& req, httplib::Response& res) {
                        FaultFor(req.path);
                        if (req.body != kConsentReply || req.get_param_value("sessionId") != "s1") {
                            res.status = 400;
                            return;
                        }
                        res.set_header("Set-Cookie", "A3=d=fakecookie; Path=/");
                        res.set_redirect("/consent-done");
                    });
        server.Get("/consent-done", [this](const httplib::Request& req, httplib::Response& res) {
            FaultFor(req.path);
            res.set_content("<html>Yahoo Finance</html>", "text/html");
        });
        const auto crumb = [this](const httplib::Request& req, httplib::Response& res) {
            if (Disturb(FaultFor(req.path), "", res)) return;
            if (req.get_header_value("Cookie").find("A3=d=fakecookie") == std::string::npos) {
                res.status = 401;
                return;
            }
            std::lock_guard<std::mutex> lock(mutex);
            res.set_content("crumb" + std::to_string(++crumbs), "text/plain");
        };
        server.Get("/v1/test/getcrumb", crumb);
        server.Get("/q2/v1/test/getcrumb", crumb);
        server.Get(
            "/v7/finance/quote", [this](const httplib::Request& req, httplib::Response& res) {
                bool refuse = false;
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    const auto fault = faults.find("/v7/finance/quote");
                    if (fault != faults.end() && fault->second == UpstreamFault::unauthorized) {
                        if (badCrumb.empty()) badCrumb = req.get_param_value("crumb");
                        refuse = req.get_param_value("crumb") == badCrumb;
                    }
                }
                if (refuse) return Answer(req, res, kInvalidCrumb, 401);
                Answer(req, res, V7Body(req.get_param_value("symbols")));
            });
        server.Get(R"(/v8/finance/chart/(.*))",
                   [this](const httplib::Request& req, httplib::Response& res) {
                       const std::string symbol = req.matches[1];
                       if (symbol == "MSFT" || symbol.rfind("R1", 0) == 0)
                           return Answer(req, res, RecordedBody("yahoo-chart-MSFT.json"));
                       Answer(req, res, kChartNotFound, 404);
                   });
        server.Get("/v7/finance/spark",
                   [this](const httplib::Request& req, httplib::Response& res) {
                       Answer(req, res, SparkBody(SplitList(req.get_param_value("symbols"))));
                   });
        server.Get("/rss/2.0/headline",
                   [this](const httplib::Request& req, httplib::Response& res) {
                       if (Disturb(FaultFor(req.path), "", res)) return;
                       res.set_content(req.get_param_value("s") == "MSFT" ? kFeed : kEmptyFeed,
                                       "application/rss+xml");
                   });
        server.Get("/api/v1/quote", [this](const httplib::Request& req, httplib::Response& res) {
            if (req.get_header_value("X-Finnhub-Token") != kFakeKey)
                return Answer(req, res, R"({"error":"Invalid API key"})", 401);
            if (req.get_param_value("symbol").rfind("R1N", 0) == 0)
                return Answer(req, res, R"({"error":"You don't have access to this resource."})",
                              403);
            if (req.get_param_value("symbol").rfind("X", 0) == 0) {
                return Answer(req, res,
                              R"({"c":0,"d":null,"dp":null,"h":0,"l":0,"o":0,"pc":0,"t":0})");
            }
            Answer(req, res, RecordedBody("finnhub-quote.json"));
        });
        server.Get("/api/v1/company-news", [this](const httplib::Request& req,
                                                  httplib::Response& res) {
            Answer(
                req, res,
                R"([{"category":"company","datetime":1761768000,"headline":"Apple's <b>record</b> quarter","id":1,"image":"","related":"AAPL","source":"Wire","summary":"Sales rose. More later.","url":"https://news.example/1"}])");
        });
        server.Get("/api/v1/stock/profile2", [this](const httplib::Request& req,
                                                    httplib::Response& res) {
            Answer(
                req, res,
                R"({"name":"Apple Inc","exchange":"NASDAQ NMS - GLOBAL MARKET","currency":"USD","marketCapitalization":4300000,"shareOutstanding":14800})");
        });
        server.Get("/time_series", [this](const httplib::Request& req, httplib::Response& res) {
            if (req.get_param_value("symbol") != "AAPL") {
                return Answer(req, res,
                              R"({"code":400,"message":"**symbol** not found","status":"error"})");
            }
            const bool days = req.get_param_value("interval") == "1day";
            Answer(
                req, res,
                days
                    ? R"({"meta":{"symbol":"AAPL","interval":"1day","currency":"USD","exchange":"NASDAQ"},"values":[{"datetime":"2025-10-29","open":"268.1","high":"271.4","low":"267.2","close":"269.70","volume":"40000000"},{"datetime":"2025-10-28","open":"267.0","high":"269.9","low":"266.5","close":"269.00","volume":"38000000"},{"datetime":"2025-10-27","open":"265.0","high":"268.0","low":"264.1","close":"267.50","volume":"35000000"}],"status":"ok"})"
                    : R"({"meta":{"symbol":"AAPL","interval":"5min","currency":"USD","exchange":"NASDAQ"},"values":[{"datetime":"2025-10-29 10:05:00","open":"268.9","high":"269.8","low":"268.8","close":"269.70","volume":"900000"},{"datetime":"2025-10-29 10:00:00","open":"268.5","high":"269.0","low":"268.4","close":"268.90","volume":"800000"},{"datetime":"2025-10-29 09:30:00","open":"268.1","high":"268.6","low":"268.0","close":"268.50","volume":"1500000"}],"status":"ok"})");
        });
        server.Get("/quote", [this](const httplib::Request& req, httplib::Response& res) {
            if (req.get_header_value("Authorization") != std::string("apikey ") + kFakeKey) {
                return Answer(
                    req, res,
                    R"({"code":401,"message":"**apikey** parameter is incorrect","status":"error"})");
            }
            Answer(req, res, TwelveDataBody(SplitList(req.get_param_value("symbol"))));
        });
    }
};

FakeUpstream::FakeUpstream() : impl_(std::make_unique<Impl>()) {
    impl_->Routes();
    impl_->server.set_keep_alive_timeout(1);
    port_ = impl_->server.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { impl_->server.listen_after_bind(); });
    while (!impl_->server.is_running()) std::this_thread::yield();
}

FakeUpstream::~FakeUpstream() {
    impl_->server.stop();
    thread_.join();
}

void FakeUpstream::SetCookiePage(CookiePage way) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->cookiePage = way;
}

void FakeUpstream::AddHeader(const std::string& path, const std::string& name,
                             const std::string& value) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->headers[path].emplace_back(name, value);
}

void FakeUpstream::Fail(const std::string& path, UpstreamFault fault) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->faults[path] = fault;
    if (fault == UpstreamFault::none) impl_->faults.erase(path);
}

int FakeUpstream::Calls(const std::string& path) const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    int n = 0;
    for (const auto& [p, count] : impl_->calls) n += p.rfind(path, 0) == 0 ? count : 0;
    return n;
}

std::vector<std::string> FakeUpstream::Requests() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->requests;
}

}  // namespace tickwell_test
