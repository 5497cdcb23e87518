#include "kernel32/program_launch.h"

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "host/ascii.h"
#include "host/device.h"
#include "platform/host/utf.h"
#include "platform/kernel32/program.h"

namespace platform::detail {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool OnPath(const std::string& program) {
    std::stringstream path(Env("PATH"));
    std::string dir;
    while (std::getline(path, dir, ':')) {
        if (!dir.empty() && ::access((dir + "/" + program).c_str(), X_OK) == 0) return true;
    }
    return false;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::stringstream in(text);
    std::string word;
    while (in >> word) words.push_back(word);
    return words;
}

std::string Lower(std::string_view s) {
    return AsciiLowered(s);
}

}  // namespace

std::string RouteAddress(const std::string& address, const std::string& connectTo) {
    std::string url = address;
    if (Lower(url.substr(0, 7)) != "http://" && Lower(url.substr(0, 8)) != "https://" &&
        Lower(url.substr(0, 5)) != "file:") {
        url = "http://" + url;
    }
    if (Lower(url.substr(0, 7)) != "http://") return url;
    const std::size_t hostStart = 7;
    const std::size_t hostEnd = url.find_first_of("/?#", hostStart);
    const std::string authority = url.substr(
        hostStart, hostEnd == std::string::npos ? std::string::npos : hostEnd - hostStart);
    const std::string rest = hostEnd == std::string::npos ? "" : url.substr(hostEnd);
    const std::size_t colon = authority.rfind(':');
    const std::string host = colon == std::string::npos ? authority : authority.substr(0, colon);
    const std::string port = colon == std::string::npos ? "80" : authority.substr(colon + 1);
    std::stringstream entries(connectTo);
    std::string entry;
    while (std::getline(entries, entry, ',')) {
        std::vector<std::string> parts;
        std::stringstream fields(entry);
        std::string field;
        while (std::getline(fields, field, ':')) parts.push_back(field);
        if (parts.size() != 4) continue;
        if ((parts[0].empty() || Lower(parts[0]) == Lower(host)) &&
            (parts[1].empty() || parts[1] == port)) {
            return "http://" + (parts[2].empty() ? host : parts[2]) + ":" +
                   (parts[3].empty() ? port : parts[3]) + rest;
        }
    }
    return url;
}

BrowserCommand ChooseBrowser(const std::string& address) {
    const bool graphical = !Env("DISPLAY").empty() || !Env("WAYLAND_DISPLAY").empty();
    BrowserCommand command;
    if (const std::string browser = Env("BROWSER"); !browser.empty()) {
        std::vector<std::string> words = Words(browser.substr(0, browser.find(':')));
        bool placed = false;
        for (std::string& w : words) {
            if (const std::size_t at = w.find("%s"); at != std::string::npos) {
                w.replace(at, 2, address);
                placed = true;
            }
        }
        if (!placed) words.push_back(address);
        command.argv = words;
        command.interactive = !graphical;
        return command;
    }
    if (graphical && OnPath("xdg-open")) return {{"xdg-open", address}, false};
    // w3m quits on "q" without asking and keeps no history (which it may have nowhere to
    // write: each page left "Can't open history" behind on the viewer's screen).
    if (OnPath("w3m")) {
        return {{"w3m", "-o", "confirm_qq=false", "-o", "use_history=false", "-o",
                 "save_hist=false", address},
                true};
    }
    if (OnPath("lynx")) return {{"lynx", address}, true};
    return command;
}

std::string HelpAddress(const std::string& commandLine) {
    std::string file = commandLine;
    if (Lower(file.substr(0, 5)) == "file:") file = file.substr(5);
    const std::size_t hash = file.find('#');
    const std::string anchor = hash == std::string::npos ? "" : file.substr(hash);
    file = file.substr(0, hash);
    if (file.empty() || file.find("..") != std::string::npos) return "";
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "";
    for (const auto& dir : {exe.parent_path() / ".." / "share" / "tickwell", exe.parent_path()}) {
        const auto path = dir / file;
        if (std::filesystem::exists(path, error)) {
            return "file://" + std::filesystem::weakly_canonical(path, error).string() + anchor;
        }
    }
    return "";
}

}  // namespace platform::detail

BOOL CreateProcessW(LPCWSTR application, LPWSTR commandLine, SECURITY_ATTRIBUTES*,
                    SECURITY_ATTRIBUTES*, BOOL, DWORD, void*, LPCWSTR, STARTUPINFOW*,
                    PROCESS_INFORMATION*) {
    using namespace platform::detail;
    Device* device = CurrentDevice();
    if (!device || !application) return FALSE;
    const std::string name =
        Lower(std::filesystem::path(platform::ToUtf8(application)).filename().string());
    const std::string line = commandLine ? platform::ToUtf8(commandLine) : "";
    std::string address;
    if (name == "iexplore.exe")
        address = RouteAddress(line, Env("TICKWELL_CONNECT_TO"));
    else if (name == "peghelp.exe")
        address = HelpAddress(line);
    if (address.empty()) return FALSE;
    const BrowserCommand command = ChooseBrowser(address);
    if (command.argv.empty()) return FALSE;
    device->Launch(command.argv, command.interactive);
    return TRUE;
}
