#include "support/device_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/portfolio.h"
#include "model/portfolio_file.h"
#include "platform/host/utf.h"
#include "platform/testing/faults.h"
#include "quotes/quote_line.h"
#include "settings/proxy_settings.h"

namespace tickwell_test {

void DeviceTest::SetUp() {
    char pattern[] = "/tmp/tickwell-test-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    ASSERT_NE(made, nullptr);
    root_ = made;
    ::setenv("TICKWELL_DEVICE", root_.c_str(), 1);
    platform::testing::ClearFaults();
    ClearPortfolio();
    SetPortfolioFileUnread(false);
    quoteRowMatched = false;
    proxySettings = {};
}

void DeviceTest::TearDown() {
    platform::testing::ClearFaults();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::vector<unsigned char> DeviceTest::ReadHostFile(const std::string& devicePath) const {
    std::ifstream in(Host(devicePath), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void DeviceTest::WriteHostFile(const std::string& devicePath,
                               const std::vector<unsigned char>& bytes) {
    const std::string path = Host(devicePath);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void DeviceTest::WriteHostText(const std::string& devicePath, const std::string& text) {
    WriteHostFile(devicePath, std::vector<unsigned char>(text.begin(), text.end()));
}

std::string DeviceTest::ReadHostText(const std::string& devicePath) const {
    const auto bytes = ReadHostFile(devicePath);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> DeviceTest::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& record : messages_.records()) texts.push_back(Narrow(record.text));
    return texts;
}

std::vector<unsigned char> Utf16Bytes(const std::u16string& text) {
    std::vector<unsigned char> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    return bytes;
}

std::string Narrow(const std::u16string& text) {
    return platform::ToUtf8(text);
}

}  // namespace tickwell_test
