#include "rtf/rtf.h"

#include <gtest/gtest.h>

#include <QTextDocument>

namespace {

// What an import leaves out that a person wrote: these would be lost if the page were saved
// from what the reader shows. Tables of fonts and styles, document properties and bookmarks
// are not content.
TEST(RtfImportLosses, NameWhatAPersonWroteAndNothingElse) {
    const struct {
        const char* rtf;
        QStringList lost;
    } cases[] = {
        {R"({\rtf1{\fonttbl{\f0 SimSun;}}{\stylesheet{\s0 Normal;}}{\info{\title t}})"
         R"({\*\bkmkstart a}text{\*\bkmkend a}\par})",
         {}},
        {R"({\rtf1{\header page head}text{\footer foot}{\footer again}\par})",
         {"header", "footer"}},
        {R"({\rtf1 text{\footnote note}{\*\annotation said}\par})", {"footnote", "annotation"}},
        {R"({\rtf1 text{\*\newthing kept somewhere}\par})", {"newthing"}},
        {R"({\rtf1{\object{\*\objdata 0102}{\result shown}}\par})", {"objdata"}},
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        rtf::ImportLosses losses;
        ASSERT_TRUE(rtf::importRtf(c.rtf, doc, {}, &losses));
        EXPECT_EQ(losses.destinations, c.lost) << c.rtf;
    }
}

}  // namespace
