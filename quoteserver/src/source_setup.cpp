#include "source_setup.h"

#include "relay/providers/keyed_sources.h"
#include "relay/providers/yahoo_source.h"
#include "relay/source_config.h"
#include "sim/simulated_source.h"

namespace quotes {

const std::vector<SourceEntry> kSources = {
    {SimulatedSource::kName, "the bundled simulated market (the default; offline)", nullptr, false,
     nullptr},
    // Yahoo's cookie, query and page hosts are YahooHosts'.
    {YahooSource::kName, "Yahoo Finance, no key; 30 calls a minute", nullptr, true, nullptr},
    {FinnhubSource::kName, "Finnhub, US listings, needs FINNHUB_API_KEY; 50 a minute",
     kFinnhubKeyVariable, true, "https://finnhub.io"},
    {TwelveDataSource::kName, "Twelve Data, US listings, needs TWELVEDATA_API_KEY; 7 a minute",
     kTwelveDataKeyVariable, true, "https://api.twelvedata.com"},
};

namespace {

bool UsableBase(const std::string& url) {
    const bool scheme = url.rfind("https://", 0) == 0 || url.rfind("http://", 0) == 0;
    return scheme && url.size() < 512 && url.find_first_of(" \r\n\t?#") == std::string::npos;
}

std::string Base(const SourceOptions& options, const SourceEntry& source) {
    const auto it = options.upstreams.find(std::string(source.name));
    std::string url = it != options.upstreams.end() ? it->second : source.base ? source.base : "";
    while (!url.empty() && url.back() == '/') url.pop_back();
    return url;
}

// An `--upstream` that names no live source or gives no usable URL.
std::string UpstreamError(const SourceOptions& options) {
    for (const auto& [name, url] : options.upstreams) {
        const SourceEntry* source = FindSource(name);
        if (!source || !source->live) return "--upstream names no live source: '" + name + "'";
        if (!UsableBase(url)) {
            return "--upstream " + name + " needs an http:// or https:// URL without a query";
        }
    }
    return "";
}

}  // namespace

const SourceEntry* FindSource(std::string_view name) {
    for (const SourceEntry& source : kSources) {
        if (source.name == name) return &source;
    }
    return nullptr;
}

std::string SourceNameList() {
    std::string list;
    for (const SourceEntry& source : kSources) {
        list += (list.empty() ? "" : ", ") + std::string(source.name);
    }
    return list;
}

std::string SourceHelp(int indent) {
    std::string help;
    for (const SourceEntry& source : kSources) {
        std::string name(source.name);
        name.resize(std::max<std::size_t>(name.size() + 1, 12), ' ');
        help += std::string(static_cast<std::size_t>(indent), ' ') + name + source.summary + "\n";
    }
    return help;
}

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

std::unique_ptr<QuoteSource> SourceSetup::Make(const SourceEntry& source,
                                               const SourceOptions& options,
                                               const RelayContext& context, const SourceKeys& keys,
                                               std::string& error) {
    if (source.name == SimulatedSource::kName) return std::make_unique<SimulatedSource>();
    if (source.name == YahooSource::kName) {
        YahooHosts hosts;
        if (options.upstreams.count(std::string(source.name))) {
            hosts.cookie = hosts.home = hosts.query = hosts.query2 = hosts.feeds =
                Base(options, source);
        }
        return std::make_unique<YahooSource>(context, hosts);
    }
    const bool finnhub = source.name == FinnhubSource::kName;
    const std::string& key = finnhub ? keys.finnhub : keys.twelvedata;
    if (key.empty()) {
        error = std::string(source.name) + " needs an API key: set " + source.keyVariable +
                " in the environment or in " +
                (options.configPath.empty() ? DefaultConfigPath() : options.configPath);
        return nullptr;
    }
    if (finnhub) return std::make_unique<FinnhubSource>(context, Base(options, source), key);
    return std::make_unique<TwelveDataSource>(context, Base(options, source), key);
}

std::unique_ptr<SourceChain> SourceSetup::Build(const SourceOptions& options, std::string& error,
                                                std::string& warning) {
    error = UpstreamError(options);
    if (!error.empty()) return nullptr;
    const SourceKeys keys = LoadSourceKeys(
        options.configPath.empty() ? DefaultConfigPath() : options.configPath, warning);
    if (!http_) http_ = MakeUpstreamHttp(kUpstreamTotalSeconds, options.userAgent);
    RelayContext context{http_.get(), options.clock ? options.clock : SteadyMilliClock(),
                         options.log, options.maxAgeSeconds};
    std::vector<std::unique_ptr<QuoteSource>> sources;
    live_.clear();
    for (const std::string& name : options.names) {
        const SourceEntry* source = FindSource(name);
        if (!source) {
            error = "unknown source '" + name + "' (" + SourceNameList() + ")";
            return nullptr;
        }
        sources.push_back(Make(*source, options, context, keys, error));
        if (!sources.back()) return nullptr;
        if (auto* live = dynamic_cast<LiveSource*>(sources.back().get())) {
            live->ExpectReachCheck();
            live_.push_back(live);
        }
    }
    if (sources.empty()) {
        error = "--source names no source";
        return nullptr;
    }
    return std::make_unique<SourceChain>(std::move(sources));
}

void SourceSetup::CheckReach() {
    for (LiveSource* source : live_) source->CheckReach();
}

}  // namespace quotes
