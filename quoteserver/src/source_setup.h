// Builds the chain of quote sources from the command line's words: `--source` names, their base
// URLs (`--upstream NAME=URL`), the keys (source_config.h) and the cache's age.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "relay/live_source.h"
#include "relay/source_config.h"
#include "relay/upstream_http.h"
#include "relay/upstream_limits.h"
#include "sources/source_chain.h"

namespace quotes {

struct SourceOptions {
    std::vector<std::string> names = {"simulated"};
    std::map<std::string, std::string> upstreams;  // source name -> base URL
    std::string configPath;                        // "" : the default
    int maxAgeSeconds = 30;
    std::string userAgent = kBrowserUserAgent;  // of every upstream call
    std::function<void(const std::string&)> log;
    MilliClock clock;  // the steady clock when empty
};

// A source that `--source` accepts: the options, `--help` and the errors read this table, and
// each source gives its status under the same name.
struct SourceEntry {
    std::string_view name;
    const char* summary;      // its line in --help
    const char* keyVariable;  // the API key's variable; null for none
    bool live;                // a live source: `--upstream` may name it
    const char* base;         // its public base URL; null where the source keeps its own hosts
};

// In the order the help lists them.
extern const std::vector<SourceEntry> kSources;
const SourceEntry* FindSource(std::string_view name);
// "simulated, yahoo, finnhub, twelvedata"
std::string SourceNameList();
// The help's lines of the sources, indented by `indent` spaces.
std::string SourceHelp(int indent);

class SourceSetup {
public:
    // The chain, or null with `error` set (an unknown name, a keyed source without its key, a
    // bad URL). `warning` gets what the user should know but does not stop the service.
    std::unique_ptr<SourceChain> Build(const SourceOptions& options, std::string& error,
                                       std::string& warning);
    // Finds once whether each live source's host can be reached (a few seconds at most, on the
    // caller's thread); until then their status says "checking".
    void CheckReach();

private:
    std::unique_ptr<QuoteSource> Make(const SourceEntry& source, const SourceOptions& options,
                                      const RelayContext& context, const SourceKeys& keys,
                                      std::string& error);

    std::unique_ptr<UpstreamHttp> http_;
    std::vector<LiveSource*> live_;  // of the chain built last
};

// Splits "yahoo,finnhub" at its commas.
std::vector<std::string> SplitNames(const std::string& list);

}  // namespace quotes
