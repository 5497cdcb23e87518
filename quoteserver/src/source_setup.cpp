#include "source_setup.h"

#include "relay/providers/keyed_sources.h"
#include "relay/providers/yahoo_source.h"
#include "relay/source_config.h"
#include "sim/simulated_source.h"

namespace quotes {
namespace {

bool UsableBase(const std::string& url) {
    const bool scheme = url.rfind("https://", 0) == 0 || url.rfind("http://", 0) == 0;
    return scheme && url.size() < 512 && url.find_first_of(" \r\n\t?#") == std::string::npos;
}

std::string Base(const SourceOptions& options, const std::string& name, const char* fallback) {
    const auto it = options.upstreams.find(name);
    std::string url = it == options.upstreams.end() ? fallback : it->second;
    while (!url.empty() && url.back() == '/') url.pop_back();
    return url;
}

}  // namespace

std::vector<std::string> SplitNames(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        if (comma > start) names.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

std::unique_ptr<SourceChain> SourceSetup::Build(const SourceOptions& options, std::string& error,
                                                std::string& warning) {
    for (const auto& [name, url] : options.upstreams) {
        if (name != "yahoo" && name != "finnhub" && name != "twelvedata") {
            error = "--upstream names no live source: '" + name + "'";
            return nullptr;
        }
        if (!UsableBase(url)) {
            error = "--upstream " + name + " needs an http:// or https:// URL without a query";
            return nullptr;
        }
    }
    const SourceKeys keys = LoadSourceKeys(
        options.configPath.empty() ? DefaultConfigPath() : options.configPath, warning);
    if (!http_) http_ = MakeUpstreamHttp();
    RelayContext context{http_.get(), options.clock ? options.clock : SteadyMilliClock(),
                         options.log, options.maxAgeSeconds};
    std::vector<std::unique_ptr<QuoteSource>> sources;
    for (const std::string& name : options.names) {
        if (name == "simulated") {
            sources.push_back(std::make_unique<SimulatedSource>());
        } else if (name == "yahoo") {
            YahooHosts hosts;
            if (options.upstreams.count("yahoo")) {
                hosts.cookie = hosts.query = Base(options, "yahoo", "");
            }
            sources.push_back(std::make_unique<YahooSource>(context, hosts));
        } else if (name == "finnhub" || name == "twelvedata") {
            const std::string& key = name == "finnhub" ? keys.finnhub : keys.twelvedata;
            if (key.empty()) {
                error = name + " needs an API key: set " +
                        (name == "finnhub" ? "FINNHUB_API_KEY" : "TWELVEDATA_API_KEY") +
                        " in the environment or in " + DefaultConfigPath();
                return nullptr;
            }
            if (name == "finnhub") {
                sources.push_back(std::make_unique<FinnhubSource>(
                    context, Base(options, name, "https://finnhub.io"), key));
            } else {
                sources.push_back(std::make_unique<TwelveDataSource>(
                    context, Base(options, name, "https://api.twelvedata.com"), key));
            }
        } else {
            error = "unknown source '" + name + "' (simulated, yahoo, finnhub, twelvedata)";
            return nullptr;
        }
    }
    if (sources.empty()) {
        error = "--source names no source";
        return nullptr;
    }
    return std::make_unique<SourceChain>(std::move(sources));
}

}  // namespace quotes
