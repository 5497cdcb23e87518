// The keys of the keyed live sources: FINNHUB_API_KEY and TWELVEDATA_API_KEY from the
// environment, else from the service's config file, lines of NAME=value ("#" starts a
// comment). A key is never logged and never reaches a reply.
#pragma once

#include <string>

namespace quotes {

// The variables that hold them, in the environment and in the file.
inline constexpr const char* kFinnhubKeyVariable = "FINNHUB_API_KEY";
inline constexpr const char* kTwelveDataKeyVariable = "TWELVEDATA_API_KEY";

struct SourceKeys {
    std::string finnhub;
    std::string twelvedata;
};

// $XDG_CONFIG_HOME/tickwell/quotes.conf, else ~/.config/tickwell/quotes.conf.
std::string DefaultConfigPath();
// The keys; `warning` says when the file is readable by other users. A missing file is no
// error: its keys are simply absent.
SourceKeys LoadSourceKeys(const std::string& configPath, std::string& warning);

}  // namespace quotes
