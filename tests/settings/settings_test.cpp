#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/advapi32/registry.h"
#include "settings/column_flags.h"
#include "settings/proxy_settings.h"
#include "settings/settings_store.h"
#include "support/device_fixture.h"

namespace {

using tickwell_test::DeviceTest;

class SettingsTest : public DeviceTest {
protected:
    // A hive as a user would leave it after editing it by hand.
    void HandEdit(const std::string& values) {
        WriteHostText("/registry.reg",
                      "Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_LOCAL_MACHINE\\Software\\Quellmark\\PIV\\Settings]\r\n" +
                          values);
    }
};

TEST_F(SettingsTest, FlagsReadOnOnlyForExactlyOne) {
    HandEdit(
        "\"Exchange\"=\"1\"\n\"Change\"=\"0\"\n\"Volume\"=\"10\"\n\"EPS\"=\"x\"\n"
        "\"PER\"=\"\"\n\"CoName\"=dword:00000001\n\"lastprice\"=\"1\"\n");
    EXPECT_TRUE(ReadSettingFlag(u"Exchange"));
    EXPECT_FALSE(ReadSettingFlag(u"Change"));
    EXPECT_FALSE(ReadSettingFlag(u"Volume"));
    EXPECT_FALSE(ReadSettingFlag(u"EPS"));
    EXPECT_FALSE(ReadSettingFlag(u"PER"));
    EXPECT_FALSE(ReadSettingFlag(u"CoName"));
    EXPECT_FALSE(ReadSettingFlag(u"YearLow"));   // deleted by hand
    EXPECT_TRUE(ReadSettingFlag(u"LastPrice"));  // value names ignore case
}

TEST_F(SettingsTest, MissingKeyReadsOffAndWritesCreateIt) {
    EXPECT_FALSE(ReadSettingFlag(u"Exchange"));
    WriteSettingFlag(u"Exchange", true);
    WriteSettingFlag(u"Change", false);
    EXPECT_TRUE(ReadSettingFlag(u"Exchange"));
    EXPECT_FALSE(ReadSettingFlag(u"Change"));
    EXPECT_TRUE(SettingExists(u"Change"));
    WriteSettingFlag(u"Exchange", false);
    EXPECT_FALSE(ReadSettingFlag(u"Exchange"));
}

TEST_F(SettingsTest, ColumnFlagNamesFollowTheListOrder) {
    EXPECT_EQ(std::u16string(ColumnFlagNames[0]), u"Exchange");
    EXPECT_EQ(std::u16string(ColumnFlagNames[static_cast<int>(ColumnFlag::lastTrdTime)]),
              u"LastTrdTime");
    EXPECT_EQ(std::u16string(ColumnFlagNames[static_cast<int>(ColumnFlag::per)]), u"PER");
    EXPECT_EQ(std::u16string(ColumnFlagNames[16]), u"CoName");
}

TEST_F(SettingsTest, ProxyWithEmptyPortIsOn) {
    HandEdit("\"Proxy\"=\"proxy.example.com\"\n\"Port\"=\"\"\n\"UseProxy\"=\"1\"\n");
    EXPECT_EQ(ReadProxySettings(), 1);
    EXPECT_TRUE(proxySettings.useProxy);
    EXPECT_EQ(std::u16string(proxySettings.proxyHost), u"proxy.example.com");
    EXPECT_EQ(std::u16string(proxySettings.proxyPort), u"");
}

TEST_F(SettingsTest, ProxySwitchedOffKeepsItsTexts) {
    HandEdit("\"Proxy\"=\"p.example\"\n\"Port\"=\"8080\"\n\"UseProxy\"=\"0\"\n");
    EXPECT_EQ(ReadProxySettings(), 1);
    EXPECT_FALSE(proxySettings.useProxy);
    EXPECT_EQ(std::u16string(proxySettings.proxyHost), u"p.example");
    EXPECT_EQ(std::u16string(proxySettings.proxyPort), u"8080");
}

TEST_F(SettingsTest, HostNamesUpToFortyEightCharactersSurviveARestart) {
    const std::string host48(48, 'h');
    HandEdit("\"Proxy\"=\"" + host48 + "\"\n\"Port\"=\"80\"\n\"UseProxy\"=\"1\"\n");
    EXPECT_EQ(ReadProxySettings(), 1);
    EXPECT_TRUE(proxySettings.useProxy);
    EXPECT_EQ(tickwell_test::Narrow(proxySettings.proxyHost), host48);
}

TEST_F(SettingsTest, TooLongOrMissingProxyValuesTurnTheProxyOff) {
    HandEdit("\"Proxy\"=\"" + std::string(49, 'h') + "\"\n\"Port\"=\"80\"\n\"UseProxy\"=\"1\"\n");
    proxySettings.useProxy = true;
    EXPECT_EQ(ReadProxySettings(), 0);
    EXPECT_FALSE(proxySettings.useProxy);
    EXPECT_EQ(std::u16string(proxySettings.proxyHost), u"");

    HandEdit("\"Proxy\"=\"p\"\n\"Port\"=\"12345\"\n\"UseProxy\"=\"1\"\n");
    EXPECT_EQ(ReadProxySettings(), 0);
    EXPECT_FALSE(proxySettings.useProxy);
    EXPECT_EQ(std::u16string(proxySettings.proxyHost), u"p");  // read before the failure

    HandEdit("\"Proxy\"=\"p\"\n\"Port\"=\"1\"\n");
    EXPECT_EQ(ReadProxySettings(), 0);
    EXPECT_FALSE(proxySettings.useProxy);
    std::filesystem::remove(Host("/registry.reg"));
    EXPECT_EQ(ReadProxySettings(), 0);
}

}  // namespace
