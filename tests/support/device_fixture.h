// Each test gets an empty device root of its own, an empty portfolio and a message-box log.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/message_box_log.h"

namespace tickwell_test {

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Host path of a device path.
    std::string Host(const std::string& devicePath) const { return root_ + devicePath; }
    std::vector<unsigned char> ReadHostFile(const std::string& devicePath) const;
    void WriteHostFile(const std::string& devicePath, const std::vector<unsigned char>& bytes);
    void WriteHostText(const std::string& devicePath, const std::string& text);
    std::string ReadHostText(const std::string& devicePath) const;

    // The texts of the message boxes shown so far, in UTF-8.
    std::vector<std::string> MessageTexts() const;

    std::string root_;
    platform::testing::MessageBoxLog messages_;
};

// Little-endian bytes of UTF-16 text.
std::vector<unsigned char> Utf16Bytes(const std::u16string& text);
std::string Narrow(const std::u16string& text);

}  // namespace tickwell_test
