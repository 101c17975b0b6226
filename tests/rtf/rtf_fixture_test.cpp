// Documents as WordPad and Word on Simplified-Chinese Windows save them (tests/data/rtf): their
// text and formatting, read back by the formatting table's check.
#include <gtest/gtest.h>

#include <QColor>
#include <QTextFormat>

#include "rtf_test_util.h"

namespace {

using rtftest::FormatCase;
using rtftest::RtfFormat;
using F = QTextFormat;

constexpr int kBold = QFont::Bold, kNormal = QFont::Normal;
constexpr int kCentre = Qt::AlignHCenter, kLeft = Qt::AlignLeft;
constexpr int kUnderline = QTextCharFormat::SingleUnderline;
constexpr int kNoUnderline = QTextCharFormat::NoUnderline;
const QColor kNone;  // the automatic colour
const QStringList kSong{QString::fromUtf8("宋体")};

const FormatCase kSavedCases[] = {
    {"WordPadGbk",
     nullptr,
     {{"你好", F::BlockAlignment, kCentre},
      {"你", F::FontWeight, kBold},
      {"你", F::FontPointSize, 16.0},
      {"你", F::FontFamilies, kSong},
      {"这是", F::BlockAlignment, kLeft},
      {"这", F::FontWeight, kNormal},
      {"这", F::FontPointSize, 12.0},
      {"红", F::ForegroundBrush, QColor(255, 0, 0)},
      {"的", F::ForegroundBrush, kNone},
      {"斜", F::FontItalic, true},
      {"下", F::TextUnderlineStyle, kUnderline},
      {"。", F::TextUnderlineStyle, kNoUnderline},
      {"English", F::FontFamilies, QStringList{"Arial"}},
      {"English", F::FontPointSize, 10.0},
      {"缩进", F::BlockLeftMargin, 36.0},
      {"缩进", F::BlockRightMargin, 18.0},
      {"缩进", F::TextIndent, -18.0},
      {"缩进", F::BlockBottomMargin, 10.0},
      {"缩", F::ForegroundBrush, QColor(0, 0, 255)},
      {"缩", F::FontFamilies, QStringList{QString::fromUtf8("黑体")}},
      {"右对齐", F::BlockAlignment, int(Qt::AlignRight)},
      {"第一行", F::BlockAlignment, kLeft}},
     "你好\n这是红色的文字，斜体和下划线。\nEnglish text in Arial, 10 pt.\n缩进的黑体段落\n"
     "右对齐\t制表\n第一行\u2028第二行",
     "wordpad_gbk.rtf"},
    // Header, info, stylesheet and field instructions are not text; \upr shows its Unicode half.
    {"WordGbk",
     nullptr,
     {{"第一章", F::BlockAlignment, kCentre},
      {"第", F::FontWeight, kBold},
      {"第", F::FontPointSize, 18.0},
      {"第", F::FontFamilies, kSong},
      {"春眠", F::BlockAlignment, int(Qt::AlignJustify)},
      {"春眠", F::TextIndent, 21.0},
      {"春", F::FontPointSize, 10.5},
      {"春", F::FontWeight, kNormal},
      {"example", F::TextUnderlineStyle, kUnderline},
      {"example", F::ForegroundBrush, QColor(0, 0, 255)},
      {"example", F::FontFamilies, QStringList{"Times New Roman"}},
      {"访", F::TextUnderlineStyle, kNoUnderline}},
     "第一章\n春眠不觉晓，处处闻啼鸟。\n访问example.com。☃€\n新",
     "word_gbk.rtf"},
    // WordPad's header with the font table's closing brace lost: the text after it is still
    // read, and the fonts and colours read before it apply.
    {"FontTableNeverClosed",
     nullptr,
     {{"你好", F::BlockAlignment, kCentre},
      {"你", F::FontWeight, kBold},
      {"你", F::FontPointSize, 16.0},
      {"你", F::FontFamilies, kSong},
      {"Second", F::FontFamilies, QStringList{"Arial"}},
      {"red", F::ForegroundBrush, QColor(255, 0, 0)},
      {"Second", F::BlockAlignment, kLeft}},
     "你好\nSecond red line.",
     "unclosed_fonttbl.rtf"},
};

INSTANTIATE_TEST_SUITE_P(Saved, RtfFormat, ::testing::ValuesIn(kSavedCases),
                         rtftest::caseName<::testing::TestParamInfo<FormatCase>>);

}  // namespace
