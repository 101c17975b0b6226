#include "platform/text_codec.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <QStringEncoder>

namespace {

struct DecodeCase {
    QByteArray bytes;
    QString text;
};
void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << casenames::visible(c.text.toStdString());
}

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

// Page text: byte-order marks decide; unmarked text is UTF-8 unless it is plainly not.
class DecodePageText : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodePageText, HonoursMarksAndToleratesAStrayBadByte) {
    EXPECT_EQ(platform::decodePageText(GetParam().bytes), GetParam().text);
}

const QString kSpring = QStringLiteral("春天来了，小草发芽了。");

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding) {
    QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
    return encoder.encode(text);
}

QByteArray withBadByte(const QString& text) {
    QByteArray b = text.toUtf8();
    b.insert(6, '\xFF');
    return b;
}

QByteArray gbk(const QString& text) {
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodePageText,
    ::testing::Values(DecodeCase{utf16(kSpring, QStringConverter::Utf16LE), kSpring},
                      DecodeCase{utf16(kSpring, QStringConverter::Utf16BE), kSpring},
                      DecodeCase{"\xEF\xBB\xBF" + kSpring.toUtf8(), kSpring},
                      DecodeCase{kSpring.toUtf8(), kSpring},
                      DecodeCase{withBadByte(kSpring),
                                 kSpring.left(2) + QChar::ReplacementCharacter + kSpring.mid(2)},
                      DecodeCase{gbk(kSpring), kSpring},
                      DecodeCase{gbk(kSpring.repeated(20)), kSpring.repeated(20)},
                      DecodeCase{"\xB4\xBA", QStringLiteral("春")},
                      DecodeCase{"plain ascii\r\n", "plain ascii\r\n"}));

TEST(DecodeBookText, CatalogKeepsItsStrictRule) {
    // A name must read back as written: one bad byte means the file is not UTF-8.
    EXPECT_NE(platform::decodeBookText(withBadByte(kSpring)),
              platform::decodePageText(withBadByte(kSpring)));
}

}  // namespace
