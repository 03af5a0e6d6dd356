#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "serialline/SerialLine.h"

namespace vem {
namespace {

TEST(SerialLine, TablesFollowTheOrdinals) {
    EXPECT_EQ(baudRate(TBaudrate::br_000050), 50u);
    EXPECT_EQ(baudRate(TBaudrate::br_057600), 57600u);
    EXPECT_EQ(baudRate(TBaudrate::br_921600), 921600u);
    EXPECT_EQ(dataBitCount(TDataBits::db_4), 4);
    EXPECT_EQ(ParityNames[static_cast<int>(TParityBit::space)], "space");
    EXPECT_EQ(StopbitsNames[static_cast<int>(TStopBits::sb_15)], "1,5");
    TBaudrate b = TBaudrate::br_000050;
    for (int i = 0; i < BaudrateCount; ++i) {
        ASSERT_TRUE(baudrateOf(Baudrates[i], b));
        EXPECT_EQ(static_cast<int>(b), i);
    }
    EXPECT_FALSE(baudrateOf(57601, b));
    EXPECT_EQ(b, TBaudrate::br_921600);  // untouched
}

TEST(SerialLine, MainWindowsPortDiffersFromTheDefaultsInRateAndEventThreadOnly) {
    const SerialLine d;
    EXPECT_EQ(d.Baudrate, TBaudrate::br_009600);
    EXPECT_EQ(d.DataBits, TDataBits::db_8);
    EXPECT_EQ(d.ParityBit, TParityBit::none);
    EXPECT_EQ(d.StopBits, TStopBits::sb_1);
    EXPECT_EQ(std::vector({d.BufSizeTrm(), d.BufSizeRec(), d.XOffLimit(), d.XOnLimit(), d.DataSize()}),
              std::vector({2048, 2048, 1600, 400, 0}));
    EXPECT_EQ(std::vector({d.XOnChar, d.XOffChar, d.ErrorChar, d.EofChar, d.EventChar}),
              std::vector<char>({17, 19, '?', 26, 13}));
    EXPECT_FALSE(d.HandshakeRtsCts || d.HandshakeXOnXOff || d.DTRActive || d.ParityCheck());
    EXPECT_TRUE(d.EnableEvents && !d.SyncEventHandling);
    SerialLine expected;
    expected.Baudrate = TBaudrate::br_057600;
    expected.SyncEventHandling = true;
    EXPECT_EQ(serial1Line(), expected);
}

TEST(SerialLine, SettersKeepBuffersLimitsAndTimeOutsWithinTheirRules) {
    struct Case {
        const char* name;
        std::function<void(SerialLine&)> act;
        std::int32_t bufRec, bufTrm, xOff, xOn, dataSize, recTo, trmTo;  // afterwards
    };
    const std::vector<Case> cases{
        {"rec 10", [](SerialLine& s) { s.SetBufSizeRec(10); }, 16, 2048, 16, 15, 0, 0, 0},
        {"rec -1", [](SerialLine& s) { s.SetBufSizeRec(-1); }, 16, 2048, 16, 15, 0, 0, 0},
        {"rec 300", [](SerialLine& s) { s.SetBufSizeRec(300); }, 300, 2048, 300, 299, 0, 0, 0},
        {"rec 1000", [](SerialLine& s) { s.SetBufSizeRec(1000); }, 1000, 2048, 1000, 400, 0, 0, 0},
        {"rec 4096", [](SerialLine& s) { s.SetBufSizeRec(4096); }, 4096, 2048, 1600, 400, 0, 0, 0},
        {"trm 10", [](SerialLine& s) { s.SetBufSizeTrm(10); }, 2048, 16, 1600, 400, 0, 0, 0},
        {"trm 17", [](SerialLine& s) { s.SetBufSizeTrm(17); }, 2048, 17, 1600, 400, 0, 0, 0},
        {"xoff 300 < xon", [](SerialLine& s) { s.SetXOffLimit(300); }, 2048, 2048, 401, 400, 0, 0,
         0},
        {"xoff = xon", [](SerialLine& s) { s.SetXOffLimit(400); }, 2048, 2048, 401, 400, 0, 0, 0},
        {"xoff 5000", [](SerialLine& s) { s.SetXOffLimit(5000); }, 2048, 2048, 2048, 400, 0, 0, 0},
        {"xoff raised above xon in a small queue",
         [](SerialLine& s) { s.SetBufSizeRec(300); s.SetXOffLimit(10); }, 300, 2048, 300, 299, 0, 0, 0},
        {"xon 2000", [](SerialLine& s) { s.SetXOnLimit(2000); }, 2048, 2048, 1600, 1599, 0, 0, 0},
        {"xon = xoff", [](SerialLine& s) { s.SetXOnLimit(1600); }, 2048, 2048, 1600, 1599, 0, 0,
         0},
        {"xon -7", [](SerialLine& s) { s.SetXOnLimit(-7); }, 2048, 2048, 1600, 0, 0, 0, 0},
        {"xon under the smallest xoff",
         [](SerialLine& s) { s.SetXOnLimit(0); s.SetXOffLimit(0); s.SetXOnLimit(5); }, 2048, 2048, 1, 0, 0, 0, 0},
        {"data -1", [](SerialLine& s) { s.SetDataSize(-1); }, 2048, 2048, 1600, 400, 0, 0, 0},
        {"data 10", [](SerialLine& s) { s.SetDataSize(10); }, 2048, 2048, 1600, 400, 10, 0, 0},
        {"data 3000", [](SerialLine& s) { s.SetDataSize(3000); }, 2048, 2048, 1600, 400, 2048, 0, 0},
        {"time-outs -5, -1", [](SerialLine& s) { s.SetRecTimeOut(-5); s.SetTrmTimeOut(-1); },
         2048, 2048, 1600, 400, 0, 0, 0},
        {"time-outs kept", [](SerialLine& s) { s.SetRecTimeOut(100); s.SetTrmTimeOut(250); },
         2048, 2048, 1600, 400, 0, 100, 250},
    };
    for (const Case& c : cases) {
        SerialLine s;
        c.act(s);
        EXPECT_EQ(std::vector({s.BufSizeRec(), s.BufSizeTrm(), s.XOffLimit(), s.XOnLimit(),
                               s.DataSize(), s.RecTimeOut(), s.TrmTimeOut()}),
                  std::vector({c.bufRec, c.bufTrm, c.xOff, c.xOn, c.dataSize, c.recTo, c.trmTo}))
            << c.name;
    }
}

TEST(SerialLine, ParityCheckFollowsEveryParity) {
    SerialLine s;
    for (int p : {1, 2, 3, 4, 0}) {
        s.SetParityBit(static_cast<TParityBit>(p));
        EXPECT_EQ(s.ParityCheck(), p != 0) << ParityNames[p];
    }
}

}  // namespace
}  // namespace vem
