#include <gtest/gtest.h>

#include <QAbstractButton>

#include "common/Encoding.h"
#include "settings/TForm12.h"

namespace vem {
namespace {

TEST(WidgetBoundaryTest, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const QString shown = fromCp1252(all);
    ASSERT_EQ(shown.size(), 256);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(cp1252Byte(shown.at(b)), static_cast<unsigned char>(b)) << b;
    EXPECT_EQ(toCp1252(shown), all);
    EXPECT_EQ(toCp1252(QString::fromUtf8("Σ")), "?");
}

TEST(WidgetBoundaryTest, PosExtendedAcceptedUnchangedKeepsEveryByte) {
    PosExtendedSettings s;
    s.StartDefinition = "\x81S\x9D";
    s.StartDefinitionLength = 3;
    s.Keyword[0] = "K\x81\x9D";
    s.KeywordLength[0] = 3;
    TForm12 form(s, nullptr);
    form.fill();
    form.findChild<QAbstractButton*>("SpeedButton2")->click();  // übernehmen
    EXPECT_EQ(s.StartDefinition, "\x81S\x9D");
    EXPECT_EQ(s.Keyword[0], "K\x81\x9D");
}

}  // namespace
}  // namespace vem
