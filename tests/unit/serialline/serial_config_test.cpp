#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "serialline/SerialConfig.h"

namespace vem {
namespace {

using Field = std::function<void(TSerialConfig&, const TSerialConfig&)>;
#define FIELD(f) [](TSerialConfig& to, const TSerialConfig& from) { to.f = from.f; }
// In the order of the text.
const std::vector<Field> TextOrder{
    FIELD(COMPort), FIELD(Baudrate), FIELD(DataBits), FIELD(ParityBit), FIELD(StopBits),
    FIELD(BufSizeTrm), FIELD(BufSizeRec), FIELD(HandshakeRtsCts), FIELD(HandshakeDtrDsr),
    FIELD(HandshakeXOnXOff), FIELD(RTSActive), FIELD(DTRActive), FIELD(XOnChar), FIELD(XOffChar),
    FIELD(XOffLimit), FIELD(XOnLimit), FIELD(ErrorChar), FIELD(EofChar), FIELD(EventChar),
    FIELD(ContinueOnXOff), FIELD(UseErrorChar), FIELD(EliminateNullChar), FIELD(AbortOnError),
    FIELD(RecTimeOut), FIELD(TrmTimeOut)};
#undef FIELD

// Every field differs from serial1Line's.
TSerialConfig unusual() {
    SerialLine l;
    l.Baudrate = TBaudrate::br_028800;
    l.DataBits = TDataBits::db_7;
    l.SetParityBit(TParityBit::even);
    l.StopBits = TStopBits::sb_2;
    l.SetBufSizeTrm(1048576);
    l.SetBufSizeRec(4096);
    l.HandshakeRtsCts = l.HandshakeDtrDsr = l.HandshakeXOnXOff = l.RTSActive = l.DTRActive = true;
    l.XOnChar = '\x11' + 1;
    l.XOffChar = '\xE9';  // above 127: the code, not a negative number
    l.SetXOnLimit(100);
    l.SetXOffLimit(300);
    l.ErrorChar = '\xFF';
    l.EofChar = 0;
    l.EventChar = '\n';
    l.ContinueOnXOff = l.UseErrorChar = l.EliminateNullChar = l.AbortOnError = true;
    l.SetRecTimeOut(2147483647);
    l.SetTrmTimeOut(1234567);
    return GetConfig(l, 7);
}

// Gives a changed text a matching check value again.
std::string rechecked(std::string s) {
    unsigned x = 0;
    for (int i = 0; i < 88; ++i) x ^= static_cast<unsigned char>(s[i]);
    char check[4];
    std::snprintf(check, sizeof check, "%03u", x);
    return s.replace(88, 3, check);
}

TEST(SerialConfig, TextOfTheMainWindowsPortHasTheFixedLayout) {
    const std::string s = ConfigToStr(GetConfig(serial1Line(), 1));
    ASSERT_EQ(s.size(), ConfigTextLength);
    EXPECT_EQ(s.substr(0, 88),
              "RRS0" "001" "14" "4" "0" "0" "00002048" "00002048" "00000" "017" "019"
              "00001600" "00000400" "063" "026" "013" "0000" "0000000000" "0000000000");
    EXPECT_EQ(s, rechecked(s));
    EXPECT_EQ(ConfigToStr(TSerialConfig{}), "");  // not Valid
}

TEST(SerialConfig, EveryFieldOfARecordStandsInItsPlace) {
    const std::string s = ConfigToStr(unusual());
    EXPECT_EQ(s.substr(0, 88),
              "RRS0" "007" "11" "3" "2" "2" "01048576" "00004096" "11111" "018" "233"
              "00000300" "00000100" "255" "000" "010" "1111" "2147483647" "0001234567");
    EXPECT_EQ(s, rechecked(s));
    // Read over a record that differs in every field, switched-off flags included.
    const TSerialConfig main = GetConfig(serial1Line(), 1);
    EXPECT_EQ(StrToConfig(ConfigToStr(main), unusual()), main);
}

TEST(SerialConfig, EveryRateParityAndStopSettingReadsBack) {
    TSerialConfig c = unusual();
    for (int b = 0; b < BaudrateCount; ++b)
        for (int p = 0; p < 5; ++p)
            for (int st = 0; st < 3; ++st) {
                c.Baudrate = static_cast<TBaudrate>(b);
                c.ParityBit = static_cast<TParityBit>(p);
                c.StopBits = static_cast<TStopBits>(st);
                const std::string s = ConfigToStr(c);
                ASSERT_EQ(s.size(), ConfigTextLength);
                EXPECT_EQ(StrToConfig(s, TSerialConfig{}), c) << s;
            }
    c.COMPort = -3;  // sign before the zeros
    EXPECT_EQ(StrToConfig(ConfigToStr(c), TSerialConfig{}), c);
}

TEST(SerialConfig, AnyChangedDigitFailsTheCheckValue) {
    const TSerialConfig base = GetConfig(serial1Line(), 1);
    const std::string good = ConfigToStr(unusual());
    for (std::size_t i = 4; i < ConfigTextLength; ++i) {
        std::string s = good;
        s[i] = s[i] == '9' ? '8' : static_cast<char>(s[i] + 1);
        TSerialConfig expected = base;
        expected.Valid = false;
        EXPECT_EQ(StrToConfig(s, base), expected) << i;
    }
}

TEST(SerialConfig, AFailingTextKeepsWhatWasReadBeforeTheFailure) {
    const TSerialConfig base = GetConfig(serial1Line(), 1);
    const TSerialConfig other = unusual();
    const std::string good = ConfigToStr(other);
    auto edited = [&](std::size_t pos, const std::string& part) {
        return rechecked(std::string(good).replace(pos, part.size(), part));
    };
    struct Case {
        const char* name;
        std::string text;
        std::size_t fieldsRead;
        bool valid;
    };
    const std::vector<Case> cases{
        {"empty", "", 0, false},
        {"signature only", "RRS0", 0, false},
        {"short", good.substr(0, 60), 0, false},
        {"wrong signature", rechecked("RRS1" + good.substr(4)), 0, false},
        {"rate 21", edited(7, "21"), 1, false},
        {"5 data bits ordinal", edited(9, "5"), 2, false},
        {"letters in the receive size", edited(20, "0000x048"), 6, false},
        {"letters in a handshake", edited(29, "y"), 8, false},
        {"letters in the XOn limit", edited(47, "zz"), 15, false},
        {"time-out beyond 32 bits", edited(78, "9999999999"), 24, false},
        {"letters in a character keep it", edited(33, "abc"), 25, true},
        {"longer text", good + "trailing", 25, true},
    };
    for (const Case& c : cases) {
        TSerialConfig expected = base;
        for (std::size_t f = 0; f < c.fieldsRead; ++f) TextOrder[f](expected, other);
        if (std::string(c.name) == "letters in a character keep it") expected.XOnChar = base.XOnChar;
        expected.Valid = c.valid;
        EXPECT_EQ(StrToConfig(c.text, base), expected) << c.name;
    }
}

TEST(SerialConfig, SetConfigTakesAValidRecordThroughTheSetters) {
    SerialLine line = serial1Line();
    const SerialLine before = line;
    int port = 0;
    auto setPort = [&](int p) { port = p; };

    TSerialConfig invalid = unusual();
    invalid.Valid = false;
    EXPECT_FALSE(SetConfig(line, invalid, setPort));
    EXPECT_EQ(line, before);
    EXPECT_EQ(port, 0);

    // XOff 300 / XOn 100 while the line has XOn 400: the pair still arrives whole.
    ASSERT_TRUE(SetConfig(line, unusual(), setPort));
    EXPECT_EQ(GetConfig(line, port), unusual());
    EXPECT_TRUE(line.ParityCheck());

    TSerialConfig odd = GetConfig(before, 1);
    odd.Baudrate = static_cast<TBaudrate>(40);  // outside the table: left alone
    odd.BufSizeRec = 3;                        // the setters' rules hold
    ASSERT_TRUE(SetConfig(line, odd, setPort));
    EXPECT_EQ(line.Baudrate, TBaudrate::br_028800);
    EXPECT_EQ(line.BufSizeRec(), SmallestQueue);
    EXPECT_LT(line.XOnLimit(), line.XOffLimit());
}

TEST(SerialConfig, SetConfigLeavesAnOrdinalOutsideItsTable) {
    struct Case {
        const char* name;
        std::function<void(TSerialConfig&, int)> setOrdinal;
        std::function<int(const SerialLine&)> ordinal;
        int count;
    };
    const std::vector<Case> cases{
        {"baud rate", [](TSerialConfig& c, int v) { c.Baudrate = static_cast<TBaudrate>(v); },
         [](const SerialLine& l) { return static_cast<int>(l.Baudrate); }, 21},
        {"data bits", [](TSerialConfig& c, int v) { c.DataBits = static_cast<TDataBits>(v); },
         [](const SerialLine& l) { return static_cast<int>(l.DataBits); }, 5},
        {"parity", [](TSerialConfig& c, int v) { c.ParityBit = static_cast<TParityBit>(v); },
         [](const SerialLine& l) { return static_cast<int>(l.ParityBit); }, 5},
        {"stop bits", [](TSerialConfig& c, int v) { c.StopBits = static_cast<TStopBits>(v); },
         [](const SerialLine& l) { return static_cast<int>(l.StopBits); }, 3},
    };
    for (const Case& c : cases) {
        SerialLine line;
        TSerialConfig config = GetConfig(line, 1);
        c.setOrdinal(config, 0);
        ASSERT_TRUE(SetConfig(line, config));
        c.setOrdinal(config, c.count);
        ASSERT_TRUE(SetConfig(line, config));
        EXPECT_EQ(c.ordinal(line), 0) << c.name;
        c.setOrdinal(config, c.count - 1);
        ASSERT_TRUE(SetConfig(line, config));
        EXPECT_EQ(c.ordinal(line), c.count - 1) << c.name;
    }
}

}  // namespace
}  // namespace vem
