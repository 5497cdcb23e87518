// Builds the chain of quote sources from the command line's words: `--source` names, their base
// URLs (`--upstream NAME=URL`), the keys (source_config.h) and the cache's age.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "relay/upstream_http.h"
#include "relay/upstream_limits.h"
#include "sources/source_chain.h"

namespace quotes {

struct SourceOptions {
    std::vector<std::string> names = {"simulated"};
    std::map<std::string, std::string> upstreams;  // source name -> base URL
    std::string configPath;                        // "" : the default
    int maxAgeSeconds = 30;
    std::function<void(const std::string&)> log;
    MilliClock clock;  // the steady clock when empty
};

// The sources that `--source` accepts, in the order the help lists them.
inline constexpr const char* kSourceNames[] = {"simulated", "yahoo", "finnhub", "twelvedata"};

class SourceSetup {
public:
    // The chain, or null with `error` set (an unknown name, a keyed source without its key, a
    // bad URL). `warning` gets what the user should know but does not stop the service.
    std::unique_ptr<SourceChain> Build(const SourceOptions& options, std::string& error,
                                       std::string& warning);

private:
    std::unique_ptr<UpstreamHttp> http_;
};

// Splits "yahoo,finnhub" at its commas.
std::vector<std::string> SplitNames(const std::string& list);

}  // namespace quotes
