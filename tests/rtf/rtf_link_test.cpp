// HYPERLINK fields become links on their result text; other fields show their result.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>

#include "rtf/rtf.h"
#include "rtf_test_util.h"

namespace {

using casenames::PrintTo;

struct LinkCase {
    const char* name;
    QByteArray rtf;
    QString text;
    QString href;  // of the character after "x"; empty: no link there
};

class RtfLinks : public ::testing::TestWithParam<LinkCase> {};

TEST_P(RtfLinks, ResultTextCarriesTheTarget) {
    const LinkCase& c = GetParam();
    QTextDocument doc;
    ASSERT_TRUE(rtf::importRtf(c.rtf, doc));
    EXPECT_EQ(rtftest::blockText(doc), c.text) << c.name;
    const int at = int(doc.toPlainText().indexOf(u'x')) + 2;  // the character after "x"
    QTextCursor cursor(&doc);
    cursor.setPosition(at);
    EXPECT_EQ(cursor.charFormat().anchorHref(), c.href) << c.name;
    EXPECT_EQ(cursor.charFormat().isAnchor(), !c.href.isEmpty()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfLinks,
    ::testing::Values(
        LinkCase{"quoted target",
                 R"({\rtf1 x{\field{\*\fldinst HYPERLINK "http://a.b/c"}{\fldrslt link}} end})",
                 "xlink end", "http://a.b/c"},
        LinkCase{
            "target in a nested group",
            R"({\rtf1 x{\field{\*\fldinst{\f0 HYPERLINK }{"mailto:a@b.c"}}{\fldrslt{\ul mail}}}})",
            "xmail", "mailto:a@b.c"},
        LinkCase{"bare target",
                 R"({\rtf1 x{\field{\*\fldinst HYPERLINK https://q.r }{\fldrslt go}}})", "xgo",
                 "https://q.r"},
        LinkCase{"anchor only stays plain",
                 R"({\rtf1 x{\field{\*\fldinst HYPERLINK \\l "top"}{\fldrslt up}}})", "xup", ""},
        LinkCase{"other fields show their result",
                 R"({\rtf1 x{\field{\*\fldinst PAGE}{\fldrslt 7}}})", "x7", ""},
        LinkCase{"link ends with its field",
                 R"({\rtf1 {\field{\*\fldinst HYPERLINK "http://a"}{\fldrslt a}}xy})", "axy", ""}),
    rtftest::caseName<::testing::TestParamInfo<LinkCase>>);

}  // namespace
