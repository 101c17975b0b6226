#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/case_names.h"
#include "text/text_limits.h"

class QTextDocument;

// Readable QString values in assertion messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace rtftest {

using casenames::PrintTo;  // table rows print as their names

// RTF imported under `limits` gives `text` (paragraphs joined by '\n'). The cases are tables in
// the files of each subject; the check is rtf_text_test's.
struct TextCase {
    const char* name;
    QByteArray rtf;
    QString text;
    textlimits::TextLimits limits = {};
};
class RtfText : public ::testing::TestWithParam<TextCase> {};

// Formatting read back: each expectation looks at the first character of `needle` ("": the last
// block) and one QTextFormat property of its character or block format; a missing property
// counts as 0 / false / empty. The cases are tables in the files of each subject; the check is
// rtf_format_test's.
struct Expect {
    const char* needle;
    int property;
    QVariant value;
};
struct FormatCase {
    const char* name;
    QByteArray rtf;  // the document, or with `file` set, empty
    std::vector<Expect> expects;
    const char* paragraphs = nullptr;  // when set, the paragraphs' text joined by '\n'
    const char* file = nullptr;        // a saved document under tests/data/rtf
    textlimits::TextLimits limits = {};
};
class RtfFormat : public ::testing::TestWithParam<FormatCase> {};

// A parameterised case's name as GoogleTest accepts it: anything but letters and digits is '_'.
template <class Info>
std::string caseName(const Info& info) {
    std::string n = info.param.name;
    for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return n;
}

// Plain text for comparison: every run of whitespace (paragraph ends, line separators, tabs,
// the U+2006 LibreOffice writes inside runs of spaces) becomes one space; pictures' object
// characters are dropped.
QString normalizedText(const QString& text);

// The document's paragraphs joined by '\n', keeping line separators and no-break spaces (which
// QTextDocument::toPlainText would turn into '\n' and ' ').
QString blockText(const QTextDocument& doc);

}  // namespace rtftest
