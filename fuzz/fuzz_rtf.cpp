// Any bytes import as RTF without crashing, hanging or unbounded memory, with and without text
// limits; within limits the document keeps to them. Seeds: tests/data/rtf, the sample book and
// the shared corpus's hostile files.
#include "fuzz_app.h"
#include "rtf/rtf.h"

#include <QTextBlock>
#include <QTextDocument>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ensureApplication();
    const QByteArrayView input = fuzz::bytes(data, size);
    QTextDocument whole;
    rtf::importRtf(input, whole);

    const textlimits::TextLimits limits{7, 64};
    QTextDocument bounded;
    if (!rtf::importRtf(input, bounded, limits)) return 0;
    // Every block but the closing note keeps to the limits; the surrogate pair is the one
    // exception a paragraph may make.
    const QTextBlock last = bounded.lastBlock();
    const bool noted = last.text().startsWith(QStringLiteral("（文字过长"));
    for (QTextBlock b = bounded.begin(); b.isValid(); b = b.next()) {
        if (noted && b == last) break;
        if (b.length() - 1 > limits.paragraphChars + 1) std::abort();
    }
    if ((noted ? last.position() - 1 : bounded.characterCount() - 1) > limits.totalChars)
        std::abort();
    return 0;
}
