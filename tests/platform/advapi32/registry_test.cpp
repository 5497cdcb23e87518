#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
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
    using namespace std::string_literals;  // the text holds a NUL
    WriteHostText("/registry.reg",
                  "garbage before any key\n"
                  "[HKEY_LOCAL_MACHINE\\Software\\Quellmark\\PIV\\Settings]\n"
                  "\"Good\"=\"1\"\n"
                  "\"Broken=\"1\"\n"
                  "\"BadEscape\"=\"a\\qb\"\n"
                  "\"BadUtf8\"=\"\xC3\x28\"\n"
                  "\"Number\"=dword:00000001\n"
                  "\"WithNul\"=\"a\0b\"\n"
                  "[unterminated\n"
                  "\"Other\"=\"x\"trailing\n"
                  "\"Last\"=\"ok\""s);
    HKEY key = Create(u"Software\\Quellmark\\PIV\\Settings");
    std::u16string value;
    EXPECT_EQ(Query(key, u"Good", value, 64), ERROR_SUCCESS);
    EXPECT_EQ(value, u"1");
    EXPECT_EQ(Query(key, u"Last", value, 64), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, u"BadEscape", value, 64), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Query(key, u"Number", value, 64), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Query(key, u"WithNul", value, 64), ERROR_FILE_NOT_FOUND);  // no string
    EXPECT_EQ(Set(key, u"New", u"v"), ERROR_SUCCESS);
    // Rewriting the hive drops nothing that was there.
    const std::string after = ReadHostText("/registry.reg");
    for (const std::string& kept :
         {"garbage before any key"s, "\"Good\"=\"1\""s, "\"Number\"=dword:00000001"s,
          "\"Last\"=\"ok\""s, "\"New\"=\"v\""s, "\"WithNul\"=\"a\0b\""s}) {
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
    for (const auto& entry : std::filesystem::directory_iterator(root_)) {
        EXPECT_EQ(entry.path().filename().string().find("registry.reg.tmp"), std::string::npos);
    }
    RegCloseKey(key);
}

TEST_F(RegistryTest, AnyTextComesBackAsItWasStored) {
    // A line break would split the value's line, and a lone surrogate has no UTF-8: such
    // values are written as their UTF-16 bytes.
    HKEY key = Create(u"Software\\X");
    const std::u16string texts[] = {u"two\nlines\r", std::u16string(u"\xD800x", 2),
                                    std::u16string(u"\xDC00", 1), u"tab\there"};
    int i = 0;
    for (const std::u16string& text : texts) {
        const std::u16string name = u"V" + std::u16string(1, char16_t(u'0' + i++));
        ASSERT_EQ(Set(key, name.c_str(), text), ERROR_SUCCESS);
    }
    ASSERT_EQ(Set(key, u"Plain", u"plain"), ERROR_SUCCESS);  // a rewrite after them
    i = 0;
    for (const std::u16string& text : texts) {
        const std::u16string name = u"V" + std::u16string(1, char16_t(u'0' + i++));
        std::u16string value;
        EXPECT_EQ(Query(key, name.c_str(), value, 64), ERROR_SUCCESS);
        EXPECT_EQ(value, text);
    }
    EXPECT_NE(ReadHostText("/registry.reg").find("\"Plain\"=\"plain\""), std::string::npos);
    // A name cannot be written that way: one that holds a control character is refused.
    EXPECT_EQ(Set(key, u"bad\nname", u"x"), ERROR_INVALID_PARAMETER);
    HKEY sub = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"A\nB", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &sub, nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryTest, KeptLinesAndOddKeyLinesSurviveEveryRewrite) {
    WriteHostText("/registry.reg",
                  "[HKEY_LOCAL_MACHINE\\A]\r\n"
                  "\"Kept\"=\"y\"\r\r\n"  // a line that ends in two CRs is not a value
                  "[\\]\r\n"
                  "\"InRoot\"=\"r\"\r\n"
                  "[\\-x]\r\n"
                  "\"InX\"=\"x\"\r\n");
    HKEY key = Create(u"A");
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(Set(key, u"N", std::u16string(1, char16_t(u'0' + round))), ERROR_SUCCESS);
    }
    std::u16string value;
    EXPECT_EQ(Query(key, u"Kept", value, 64), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Query(key, u"InRoot", value, 64), ERROR_FILE_NOT_FOUND);  // not moved under A
    EXPECT_EQ(Query(key, u"InX", value, 64), ERROR_FILE_NOT_FOUND);
    const std::string after = ReadHostText("/registry.reg");
    EXPECT_NE(after.find("\"Kept\"=\"y\"\r\r\n"), std::string::npos);
    EXPECT_NE(after.find("[\\]\r\n\"InRoot\"=\"r\""), std::string::npos) << after;
    EXPECT_NE(after.find("[\\-x]\r\n\"InX\"=\"x\""), std::string::npos) << after;
    RegCloseKey(key);
}

// A hand edit that wrote a key twice: one key, whose values all read and survive a write.
TEST_F(RegistryTest, AKeyWrittenTwiceIsOneKey) {
    WriteHostText("/registry.reg",
                  "[HKEY_LOCAL_MACHINE\\A]\r\n\"First\"=\"1\"\r\n"
                  "[HKEY_LOCAL_MACHINE\\B]\r\n\"Other\"=\"o\"\r\n"
                  "[hkey_local_machine\\a\\]\r\n\"Second\"=\"2\"\r\n\"first\"=\"again\"\r\n");
    HKEY key = Create(u"A");
    std::u16string value;
    ASSERT_EQ(Query(key, u"Second", value, 64), ERROR_SUCCESS);
    EXPECT_EQ(value, u"2");
    ASSERT_EQ(Query(key, u"First", value, 64), ERROR_SUCCESS);
    EXPECT_EQ(value, u"again");  // the later line, as an import has it
    ASSERT_EQ(Set(key, u"Third", u"3"), ERROR_SUCCESS);
    for (const auto& [name, want] :
         {std::pair{u"First", u"again"}, {u"Second", u"2"}, {u"Third", u"3"}}) {
        ASSERT_EQ(Query(key, name, value, 64), ERROR_SUCCESS) << tickwell_test::Narrow(name);
        EXPECT_EQ(value, want);
    }
    HKEY other = Create(u"B");
    ASSERT_EQ(Query(other, u"Other", value, 64), ERROR_SUCCESS);
    RegCloseKey(other);
    RegCloseKey(key);
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNoValueAndCorruptNoLine) {
    HKEY key = Create(u"Software\\X");
    RegCloseKey(key);
    pid_t children[2] = {};
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        if (children[c] == 0) {
            HKEY own = nullptr;
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\X", 0, KEY_ALL_ACCESS, &own);
            for (int i = 0; i < 60; ++i) {
                // Values of different lengths, so that a torn rewrite would show.
                const std::u16string text(static_cast<std::size_t>(1 + (i * 7 + c * 13) % 40),
                                          c ? u'b' : u'a');
                const std::u16string name = c ? u"B" : u"A";
                Set(own, (name + std::u16string(1, char16_t(u'0' + i % 5))).c_str(), text);
            }
            _exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Every line is a key, a value or blank; every value of both writers is there.
    const std::string hive = ReadHostText("/registry.reg");
    std::size_t start = 0;
    int values = 0;
    while (start < hive.size()) {
        const std::size_t end = hive.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = hive.substr(start, end - start);
        const bool ok = line.empty() || line[0] == '[' || line.rfind("Windows Registry", 0) == 0 ||
                        (line[0] == '"' && line.find("\"=\"") != std::string::npos);
        EXPECT_TRUE(ok) << line;
        values += line[0] == '"' ? 1 : 0;
        start = end + 2;
    }
    EXPECT_EQ(values, 10);
}

// The hive is parsed again only when the file changed, and every change shows at the next
// query: another process's write of a value of the same length, a hand edit in place, and
// the file's removal.
TEST_F(RegistryTest, EveryQuerySeesWhatChangedTheFileSinceTheLast) {
    HKEY key = Create(u"Software\\T");
    ASSERT_EQ(Set(key, u"V", u"one"), ERROR_SUCCESS);
    std::u16string value;
    const struct {
        const char* name;
        std::function<void()> change;
        LONG result;
        std::u16string value;
    } changes[] = {
        {"another process",
         [] {
             const pid_t writer = ::fork();
             if (writer == 0) {
                 HKEY own = nullptr;
                 RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\T", 0, KEY_ALL_ACCESS, &own);
                 _exit(Set(own, u"V", u"two") == ERROR_SUCCESS ? 0 : 1);
             }
             ::waitpid(writer, nullptr, 0);
         },
         ERROR_SUCCESS, u"two"},
        {"an edit in place",
         [this] {
             std::string text = ReadHostText("/registry.reg");
             text.replace(text.find("\"two\""), 5, "\"three\"");
             std::ofstream(Host("/registry.reg"), std::ios::in | std::ios::out) << text;
         },
         ERROR_SUCCESS, u"three"},
        {"removal", [this] { std::filesystem::remove(Host("/registry.reg")); },
         ERROR_FILE_NOT_FOUND, u"three"},
    };
    for (const auto& change : changes) {
        EXPECT_EQ(Query(key, u"V", value, 64), ERROR_SUCCESS);
        change.change();
        EXPECT_EQ(Query(key, u"V", value, 64), change.result) << change.name;
        EXPECT_EQ(value, change.value) << change.name;
    }
    RegCloseKey(key);
}

TEST_F(RegistryTest, WhatAKilledWriterLeftBehindGoesWithTheNextRead) {
    const pid_t gone = ::fork();
    if (gone == 0) _exit(0);
    ::waitpid(gone, nullptr, 0);  // a process that is no more
    const std::string stale = "/registry.reg.tmp-" + std::to_string(gone) + "-1";
    const std::string live = "/registry.reg.tmp-" + std::to_string(::getpid()) + "-99";
    WriteHostText(stale, "half");
    WriteHostText(live, "still being written");
    WriteHostText("/registry.reg.tmp", "left by an older version");
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Anything", 0, KEY_READ, &key);
    RegCloseKey(Create(u"Something"));
    EXPECT_FALSE(std::filesystem::exists(Host(stale)));
    EXPECT_FALSE(std::filesystem::exists(Host("/registry.reg.tmp")));
    EXPECT_TRUE(std::filesystem::exists(Host(live)));
}

}  // namespace

namespace {

// The hive follows its link; a hive that is a device, or binary, is read as empty and never
// rewritten; a UTF-16LE export is read as such.
TEST_F(RegistryTest, HivesBehindLinksDevicesAndInUtf16) {
    std::filesystem::create_directories(Host("/elsewhere"));
    WriteHostText("/elsewhere/hive.reg", "");
    std::filesystem::create_symlink(Host("/elsewhere/hive.reg"), Host("/registry.reg"));
    HKEY key = Create(u"Software\\T");
    EXPECT_EQ(Set(key, u"V", u"1"), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_TRUE(std::filesystem::is_symlink(Host("/registry.reg")));
    EXPECT_NE(ReadHostText("/elsewhere/hive.reg").find("\"V\"=\"1\""), std::string::npos);

    std::filesystem::remove(Host("/registry.reg"));
    std::filesystem::create_symlink("/dev/zero", Host("/registry.reg"));
    HKEY none = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\T", 0, KEY_READ, &none),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\T", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &none, nullptr),
              ERROR_WRITE_FAULT);
    EXPECT_EQ(std::filesystem::read_symlink(Host("/registry.reg")), "/dev/zero");

    std::filesystem::remove(Host("/registry.reg"));
    std::string garbage(600, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 37 + 11);
    WriteHostText("/registry.reg", garbage);
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\T", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &none, nullptr),
              ERROR_WRITE_FAULT);
    EXPECT_EQ(ReadHostText("/registry.reg"), garbage);

    const std::u16string exported =
        u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\T]\r\n"
        u"\"Name\"=\"\u00E9t\u00E9\"\r\n";
    std::string bytes;
    for (char16_t unit : exported)
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    WriteHostText("/registry.reg", bytes);
    key = Create(u"Software\\T");
    std::u16string value;
    EXPECT_EQ(Query(key, u"Name", value, 64), ERROR_SUCCESS);
    EXPECT_EQ(value, u"\u00E9t\u00E9");
    RegCloseKey(key);
}

}  // namespace
