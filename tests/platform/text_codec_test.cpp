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

const DecodeCase kNames[] = {{"plain.jpg-a.rtf", "plain.jpg-a.rtf"},
                             {"\xE6\x98\xA5.jpg", "春.jpg"},
                             {"\xEF\xBB\xBF\xE6\x98\xA5", "春"},
                             {"\xB4\xBA.jpg", "春.jpg"},  // GBK
                             // A four-byte sequence, valid GB18030 only.
                             {"\x81\x30\x81\x30", QString(QChar(0x80))},
                             {"", ""}};
INSTANTIATE_TEST_SUITE_P(Cases, DecodeBookText, ::testing::ValuesIn(kNames));

// Page text: byte-order marks decide; unmarked text is UTF-8 unless it is plainly not.
class DecodePageText : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodePageText, HonoursMarksAndToleratesAStrayBadByte) {
    EXPECT_EQ(platform::decodePageText(GetParam().bytes), GetParam().text);
}

const QString kSpring = QStringLiteral("春天来了，小草发芽了。");

QByteArray encoded(const QString& text, const char* encoding, bool bom = false) {
    return QStringEncoder(encoding,
                          bom ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default)
        .encode(text);
}

QByteArray withBadByte(const QString& text) {
    return text.toUtf8().insert(6, '\xFF');
}

const DecodeCase kPages[] = {
    {encoded(kSpring, "UTF-16LE", true), kSpring},
    {encoded(kSpring, "UTF-16BE", true), kSpring},
    {"\xEF\xBB\xBF" + kSpring.toUtf8(), kSpring},
    {kSpring.toUtf8(), kSpring},
    {withBadByte(kSpring), kSpring.left(2) + QChar::ReplacementCharacter + kSpring.mid(2)},
    {encoded(kSpring, "GBK"), kSpring},
    {encoded(kSpring.repeated(20), "GBK"), kSpring.repeated(20)},
    {"\xB4\xBA", "春"},
    {"plain ascii\r\n", "plain ascii\r\n"}};
INSTANTIATE_TEST_SUITE_P(Cases, DecodePageText, ::testing::ValuesIn(kPages));

TEST(DecodeBookText, CatalogKeepsItsStrictRule) {
    // A name must read back as written: one bad byte means the file is not UTF-8.
    EXPECT_NE(platform::decodeBookText(withBadByte(kSpring)),
              platform::decodePageText(withBadByte(kSpring)));
}

}  // namespace
