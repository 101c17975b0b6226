#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace {

struct DecodeCase {
    QByteArray bytes;
    QString text;
};

class DecodeBookText : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeBookText, Utf8WhenValidElseGb18030) {
    EXPECT_EQ(platform::decodeBookText(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeBookText,
    ::testing::Values(DecodeCase{"plain.jpg-a.rtf", "plain.jpg-a.rtf"},
                      DecodeCase{"\xE6\x98\xA5.jpg", QStringLiteral("春.jpg")},
                      DecodeCase{"\xEF\xBB\xBF\xE6\x98\xA5", QStringLiteral("春")},
                      DecodeCase{"\xB4\xBA.jpg", QStringLiteral("春.jpg")},  // GBK
                      // GB18030 four-byte sequence for U+20AC is valid GB18030 only.
                      DecodeCase{"\x81\x30\x81\x30", QString(QChar(0x80))}, DecodeCase{"", ""}));

TEST(EncodeBookText, RoundTripsThroughDecode) {
    const QString text = QStringLiteral("小猫的一天.jpg-小猫.rtf\r\n");
    EXPECT_EQ(platform::decodeBookText(platform::encodeBookText(text)), text);
    EXPECT_EQ(platform::encodeBookText(QStringLiteral("春")), QByteArray("\xB4\xBA"));
}

}  // namespace
