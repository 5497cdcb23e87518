#include "relay/source_config.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

namespace quotes {
namespace {

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    const std::size_t last = text.find_last_not_of(" \t\r");
    std::string value = text.substr(first, last - first + 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

void ReadFile(const std::string& path, SourceKeys& keys, std::string& warning) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
    if (info.st_mode & (S_IRGRP | S_IROTH)) {
        warning = "tickwell-quotes: " + path +
                  " is readable by other users; it holds API keys (chmod 600 it)";
    }
    std::ifstream in(path);
    std::string line;
    for (int n = 0; n < 1000 && std::getline(in, line); ++n) {
        if (line.size() > 4096) continue;
        const std::size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string name = Trim(line.substr(0, equals));
        const std::string value = Trim(line.substr(equals + 1));
        if (name == kFinnhubKeyVariable && keys.finnhub.empty()) keys.finnhub = value;
        if (name == kTwelveDataKeyVariable && keys.twelvedata.empty()) keys.twelvedata = value;
    }
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::string DefaultConfigPath() {
    const std::string config = Environment("XDG_CONFIG_HOME");
    if (!config.empty()) return config + "/tickwell/quotes.conf";
    const std::string home = Environment("HOME");
    return home.empty() ? "" : home + "/.config/tickwell/quotes.conf";
}

SourceKeys LoadSourceKeys(const std::string& configPath, std::string& warning) {
    SourceKeys keys;
    keys.finnhub = Environment(kFinnhubKeyVariable);
    keys.twelvedata = Environment(kTwelveDataKeyVariable);
    ReadFile(configPath, keys, warning);
    return keys;
}

}  // namespace quotes
