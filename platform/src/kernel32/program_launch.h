// How the device's programs map to the host's: the browser for "iexplore.exe", the browser on
// the installed help file for "peghelp.exe".
#pragma once

#include <string>
#include <vector>

namespace platform::detail {

// A page address with its host routed as TICKWELL_CONNECT_TO says (curl's CONNECT_TO
// syntax, "host:port:address:port" entries separated by commas); an address without a
// scheme gets "http://".
std::string RouteAddress(const std::string& address, const std::string& connectTo);

struct BrowserCommand {
    std::vector<std::string> argv;  // empty: no browser to be had
    bool interactive = false;       // runs in the terminal
};
// $BROWSER, else xdg-open in a graphical session, else w3m or lynx in the terminal.
BrowserCommand ChooseBrowser(const std::string& address);

// "file:PIV.htm#Main_Contents" as a file address of the installed help file, or empty.
std::string HelpAddress(const std::string& commandLine);

}  // namespace platform::detail
