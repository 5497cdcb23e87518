#include "relay/source_config.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace quotes {
namespace {

constexpr std::size_t kMostConfigBytes = 64 * 1024;
constexpr std::size_t kMostConfigLine = 4096;

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
    // Within bounds whatever the file is: its first 64 KiB, lines of 4,096 characters at most
    // (a file of one endless line cost its whole size, and more, before).
    std::ifstream in(path, std::ios::binary);
    std::string text(kMostConfigBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    std::size_t start = 0;
    for (int n = 0; n < 1000 && start < text.size(); ++n) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::size_t length = end - start;
        std::string line = length > kMostConfigLine ? std::string() : text.substr(start, length);
        start = end + 1;
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
