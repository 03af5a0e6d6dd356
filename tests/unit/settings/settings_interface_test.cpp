#include <gtest/gtest.h>

#include <climits>

#include "settings/InterfaceRules.h"
#include "settings/SettingsRules.h"
#include "settings/SettingsSummary.h"

namespace vem {
namespace {

TEST(TypedNumber, ReadNumberTakesDecimalsAndFallsBackOnAnythingElse) {
    EXPECT_EQ(readNumber("010", 999), 10);
    EXPECT_EQ(readNumber("-5", 999), -5);
    EXPECT_EQ(readNumber(" +7", 999), 7);
    EXPECT_EQ(readNumber("-2147483648", 0), INT_MIN);
    for (const char* bad : {"", " ", "abc", "12a", "12 ", "-", "0x1F", "2147483648", "99999999999999999999"})
        EXPECT_EQ(readNumber(bad, 999), 999) << '"' << bad << '"';
}

TEST(SettingsRules, TypedTextNamesAnEntryIgnoringAlignmentBlanks) {
    const std::vector<std::string> baud{"    1200", "    9600", "115200"};
    EXPECT_EQ(matchListEntry(baud, "9600"), 1);
    EXPECT_EQ(matchListEntry(baud, "115200 "), 2);
    EXPECT_EQ(matchListEntry(baud, "960"), -1);
    EXPECT_EQ(matchListEntry(baud, ""), -1);
}

TEST(InterfaceRules, HoldTimesOf0To255AreStoredWithZeroForTextAndOthersRefused) {
    struct Case {
        HoldTimesTexts typed;
        bool accepted;
        int data, relay;  // stored afterwards; refused entries keep the start values 3 and 3
    };
    const Case cases[] = {
        {{"abc", "7"}, true, 0, 7},    {{"255", "0"}, true, 255, 0},  {{"", " 12"}, true, 0, 12},
        {{"-5", "7"}, false, 3, 3},    {{"7", "-5"}, false, 3, 3},    {{"256", "1"}, false, 3, 3},
        {{"1", "999"}, false, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.data + " / " + c.typed.relay);
        DeviceSettings s;
        EXPECT_EQ(holdTimesAcceptable(c.typed), c.accepted);
        EXPECT_EQ(acceptHoldTimes(s, c.typed), c.accepted);
        EXPECT_EQ(s.DataHoldSeconds, c.data);
        EXPECT_EQ(s.RelayHoldSeconds, c.relay);
    }
}

TEST(InterfaceRules, DeviceSerialIndicesOutsideTheirListsSelectNothing) {
    DeviceSettings s;
    s.DeviceHandshake = 2;
    s.DeviceDataFormat = -1;
    s.DeviceBaudIndex = 9;
    const DeviceSerialPositions p = deviceSerialPositions(s);
    EXPECT_EQ(p.handshake, -1);
    EXPECT_EQ(p.dataFormat, -1);
    EXPECT_EQ(p.baudIndex, 9);
}

IpAddressTexts ip(std::string a, std::string d, std::string port) {
    return {{std::move(a), "168", "1", std::move(d)}, std::move(port)};
}

TEST(InterfaceRules, IpAddressAcceptsOctetsUpTo255AndPortsUpTo10000) {
    EXPECT_TRUE(ipAddressAcceptable(ip("192", "010", "8080")));
    EXPECT_TRUE(ipAddressAcceptable(ip("0", "255", "10000")));
    EXPECT_FALSE(ipAddressAcceptable(ip("256", "1", "1")));
    EXPECT_FALSE(ipAddressAcceptable(ip("1", "", "1")));
    EXPECT_FALSE(ipAddressAcceptable(ip("1", "x", "1")));
    EXPECT_FALSE(ipAddressAcceptable(ip("1", "1", "10001")));
    EXPECT_FALSE(ipAddressAcceptable(ip("1", "1", "")));
    // The device would keep -1 as 255 and a negative port as 0.
    EXPECT_FALSE(ipAddressAcceptable(ip("-1", "1", "1")));
    EXPECT_FALSE(ipAddressAcceptable(ip("1", "1", "-80")));
}

TEST(InterfaceRules, IpAddressIsStoredOnlyWhenAcceptableAndLabelledAsTyped) {
    DeviceSettings s;
    EXPECT_TRUE(storeIpAddress(s, ip("192", "010", "8080")));
    EXPECT_EQ(s.IpAddress, (std::array<int, 4>{192, 168, 1, 10}));
    EXPECT_EQ(s.IpPort, 8080);
    EXPECT_EQ(typedAddressLabel(ip("192", "010", "8080")), "192.168.1.010");

    EXPECT_FALSE(storeIpAddress(s, ip("10", "256", "80")));
    EXPECT_EQ(s.IpAddress[0], 192);
    EXPECT_EQ(s.IpPort, 8080);
}

TEST(InterfaceRules, DataSendStoresFlagAndBaudDigitEvenWhenACodeIsRefused) {
    DeviceSettings s;
    EXPECT_EQ(dataSendEntry(s).baudPosition, -1);  // digit 0 names no rate
    EXPECT_TRUE(acceptDataSend(s, {true, 5, "2", "3"}));
    EXPECT_EQ(s.ForwardEnabled, 1);
    EXPECT_EQ(s.ForwardBaudDigit, 53);
    EXPECT_EQ(dataSendEntry(s).baudPosition, 5);

    for (const DataSendEntry& bad : {DataSendEntry{false, 8, "300", "4"}, DataSendEntry{false, 8, "4", "256"},
                                     DataSendEntry{false, 8, "-1", "4"}}) {
        EXPECT_FALSE(acceptDataSend(s, bad));
        EXPECT_EQ(s.ForwardEnabled, 0);
        EXPECT_EQ(s.ForwardBaudDigit, 56);
        EXPECT_EQ(s.ForwardPrefixCode, 2);
        EXPECT_EQ(s.ForwardSuffixCode, 3);
    }

    EXPECT_TRUE(acceptDataSend(s, {true, -1, "abc", "255"}));
    EXPECT_EQ(s.ForwardBaudDigit, 47);
    EXPECT_EQ(s.ForwardPrefixCode, 0);
    EXPECT_EQ(s.ForwardSuffixCode, 255);
}

TEST(SettingsSummary, ANewProjectShowsTheDeviceDefaults) {
    const DeviceSettings s;
    const InterfaceSummary sum = interfaceSummary(s);
    EXPECT_EQ(sum.handshake, "none");
    EXPECT_EQ(sum.dataFormat, "8 none");
    EXPECT_EQ(sum.baudRate, "9600");
    EXPECT_EQ(sum.address, "0.0.0.0");
    EXPECT_EQ(sum.port, "0");
    EXPECT_EQ(holdTimesTexts(s).data, "3");
    EXPECT_EQ(holdTimesTexts(s).relay, "3");
}

TEST(SettingsSummary, LastEntriesAndIndicesOutsideTheListsShowEmpty) {
    DeviceSettings s;
    s.DeviceHandshake = 1;
    s.DeviceDataFormat = 4;
    s.DeviceBaudIndex = 9;
    EXPECT_EQ(interfaceSummary(s).handshake, "RTS/CTS");
    EXPECT_EQ(interfaceSummary(s).dataFormat, "8 even");
    EXPECT_EQ(interfaceSummary(s).baudRate, "115200");
    for (int bad : {-1, 10, INT_MIN, INT_MAX}) {
        s.DeviceHandshake = s.DeviceDataFormat = s.DeviceBaudIndex = bad;
        const InterfaceSummary sum = interfaceSummary(s);
        EXPECT_EQ(sum.handshake + sum.dataFormat + sum.baudRate, "") << bad;
    }
}

}  // namespace
}  // namespace vem
