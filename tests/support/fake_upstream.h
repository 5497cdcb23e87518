// A stand-in for the live quote sources on a loopback port, answering with the bodies recorded
// from them (tests/data/upstream): Yahoo's cookie, crumb, v7 quote and chart paths, Finnhub's
// quote and profile, Twelve Data's batch quote. Charts answer MSFT and the "R1" symbols with
// MSFT's recorded chart. Faults are scripted per path.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tickwell_test {

inline constexpr const char* kFakeKey = "sk-test-0123456789";

enum class UpstreamFault {
    none,
    unauthorized,       // 401 with Yahoo's invalid-crumb body, until a new crumb is made
    tooMany,            // 429, plain text
    tooManyRetryAfter,  // 429 with Retry-After: 120
    tooManyText,        // "Too Many Requests" with status 200
    serverError,        // 500
    stall,              // headers, then nothing for 3 s
    consentPage,        // an HTML page with status 200
    truncatedJson,      // the recorded body cut in half
    hugeBody,           // 5 MB of JSON-looking text
    outOfCredits,       // Twelve Data's credits error, with status 200
};

// How the cookie call ("/", or "/home/" for the site's home page) is answered.
enum class CookiePage {
    plain,        // a 404 page that sets the cookie
    redirects,    // three redirects, the last of which sets it
    endless,      // redirects without end
    consentWall,  // a redirect to the consent form, whose reject-all reply sets it
    none,         // no cookie
};

class FakeUpstream {
public:
    FakeUpstream();
    ~FakeUpstream();
    FakeUpstream(const FakeUpstream&) = delete;
    FakeUpstream& operator=(const FakeUpstream&) = delete;

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // Answers requests whose path starts with `path` with the fault.
    void Fail(const std::string& path, UpstreamFault fault);
    // How fc.yahoo.com's page ("/") answers; the home page ("/home/") always sets the cookie.
    void SetCookiePage(CookiePage way);
    // Adds a header to every answer for paths starting with `path`.
    void AddHeader(const std::string& path, const std::string& name, const std::string& value);
    // How many requests reached paths starting with `path`.
    int Calls(const std::string& path) const;
    // Every request as "TARGET|header lines".
    std::vector<std::string> Requests() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
    int port_ = -1;
    std::thread thread_;
};

// A recorded body of tests/data/upstream.
std::string RecordedBody(const std::string& name);

}  // namespace tickwell_test
