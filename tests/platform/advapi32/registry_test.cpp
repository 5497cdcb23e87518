#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/advapi32/registry.h"
#include "platform/testing/faults.h"
#include "support/device_fixture.h"

namespace {

using tickwell_test::DeviceTest;

class RegistryTest : public DeviceTest {
protected:
    HKEY Create(const char16_t* path) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    static LONG Set(HKEY key, const char16_t* name, const std::u16string& text) {
        return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * 2));
    }
    static LONG Query(HKEY key, const char16_t* name, std::u16string& out, DWORD capacity) {
        std::u16string buffer(capacity / 2 + 1, u'\0');
        DWORD size = capacity;
        DWORD type = 0;
        const LONG result = RegQueryValueExW(key, name, nullptr, &type,
                                             reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (result == ERROR_SUCCESS) {
            EXPECT_EQ(type, REG_SZ);
            out = buffer.c_str();
            EXPECT_EQ(size, (out.size() + 1) * 2);
        }
        return result;
    }
};

TEST_F(RegistryTest, ValuesRoundTripWithTheirTerminatorCounted) {
    HKEY key = Create(u"Software\\Quellmark\\PIV\\Settings");
    EXPECT_EQ(Set(key, u"Proxy", u"a\"b\\c \u00E9\U0001F600"), ERROR_SUCCESS);
    std::u16string value;
    EXPECT_EQ(Query(key, u"Proxy", value, 64), ERROR_SUCCESS);
    EXPECT_EQ(value, u"a\"b\\c \u00E9\U0001F600");
    // 10 units with the terminator need 20 bytes.
    EXPECT_EQ(Query(key, u"Proxy", value, 18), ERROR_MORE_DATA);
    EXPECT_EQ(Query(key, u"Proxy", value, 20), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, u"Missing", value, 64), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
    EXPECT_EQ(Query(key, u"Proxy", value, 64), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, OpenWithoutCreateFindsOnlyExistingKeys) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Quellmark", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(Create(u"Software\\Quellmark\\PIV\\Settings"));
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\quellmark", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RegistryTest, MalformedHiveKeepsEveryWellFormedValue) {
    WriteHostText("/registry.reg",
                  "garbage before any key\n"
                  "[HKEY_LOCAL_MACHINE\\Software\\Quellmark\\PIV\\Settings]\n"
                  "\"Good\"=\"1\"\n"
                  "\"Broken=\"1\"\n"
                  "\"BadEscape\"=\"a\\qb\"\n"
                  "\"BadUtf8\"=\"\xC3\x28\"\n"
                  "\"Number\"=dword:00000001\n"
                  "[unterminated\n"
                  "\"Other\"=\"x\"trailing\n"
                  "\"Last\"=\"ok\"");
    HKEY key = Create(u"Software\\Quellmark\\PIV\\Settings");
    std::u16string value;
    EXPECT_EQ(Query(key, u"Good", value, 64), ERROR_SUCCESS);
    EXPECT_EQ(value, u"1");
    EXPECT_EQ(Query(key, u"Last", value, 64), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, u"BadEscape", value, 64), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Query(key, u"Number", value, 64), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Set(key, u"New", u"v"), ERROR_SUCCESS);
    // Rewriting the hive drops nothing that was there.
    const std::string after = ReadHostText("/registry.reg");
    for (const char* kept : {"garbage before any key", "\"Good\"=\"1\"",
                             "\"Number\"=dword:00000001", "\"Last\"=\"ok\"", "\"New\"=\"v\""}) {
        EXPECT_NE(after.find(kept), std::string::npos) << kept;
    }
    RegCloseKey(key);
}

TEST_F(RegistryTest, RandomHiveBytesNeverCrashTheReaderNorCostOtherKeys) {
    const std::string damaged = "[HKEY_LOCAL_MACHINE\\A]\n\"N\"=\"v\\\\\\\"\"\n@=\"d\"";
    const std::string intact = "\n[HKEY_LOCAL_MACHINE\\B]\n\"K\"=\"kept\"\n";
    unsigned seed = 7;
    for (int round = 0; round < 300; ++round) {
        std::string text = damaged;
        for (int e = 0; e < 6; ++e) {
            seed = seed * 1103515245 + 12345;
            text[seed % text.size()] = static_cast<char>(seed >> 16);
        }
        WriteHostText("/registry.reg", text + intact);
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"A", 0, KEY_READ, &key) == ERROR_SUCCESS) {
            std::u16string value;
            Query(key, u"N", value, 8);
            RegCloseKey(key);
        }
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"B", 0, KEY_READ, &key), ERROR_SUCCESS);
        std::u16string value;
        EXPECT_EQ(Query(key, u"K", value, 64), ERROR_SUCCESS);
        EXPECT_EQ(value, u"kept");
        RegCloseKey(key);
    }
}

TEST_F(RegistryTest, FailedWriteKeepsTheOldHive) {
    HKEY key = Create(u"Software\\X");
    ASSERT_EQ(Set(key, u"A", u"1"), ERROR_SUCCESS);
    const std::string before = ReadHostText("/registry.reg");
    platform::testing::SetWriteBudget(0);
    EXPECT_NE(Set(key, u"A", u"2"), ERROR_SUCCESS);
    platform::testing::ClearFaults();
    EXPECT_EQ(ReadHostText("/registry.reg"), before);
    EXPECT_FALSE(std::filesystem::exists(Host("/registry.reg.tmp")));
    RegCloseKey(key);
}

}  // namespace
