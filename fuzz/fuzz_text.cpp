// Any bytes decode as book text, and the text within any limits keeps them: no paragraph beyond
// the cap, nothing beyond the total, and the input's own characters in order, only with line
// breaks added. The first two bytes choose the limits.
#include "fuzz_app.h"
#include "platform/text_codec.h"
#include "text/text_limits.h"

#include <cstdlib>

namespace {

bool isParagraphEnd(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const textlimits::TextLimits limits{2 + data[0] % 64, 1 + data[1] * 8};
    const QString text = platform::decodeBookText(fuzz::bytes(data + 2, size - 2).toByteArray());
    const textlimits::LimitedText out = textlimits::limitPlainText(text, limits);
    if (out.text.size() > limits.totalChars || out.omitted < 0) std::abort();
    qsizetype i = 0;  // position in the input
    qsizetype paragraph = 0;
    for (QChar c : out.text) {
        if (i < text.size() && c == text[i]) {
            ++i;
            paragraph = isParagraphEnd(c) ? 0 : paragraph + 1;
        } else if (c == u'\n') {
            paragraph = 0;  // a break of ours
        } else {
            std::abort();
        }
        if (paragraph > limits.paragraphChars) std::abort();
    }
    qsizetype rest = 0;
    for (qsizetype j = i; j < text.size(); ++j)
        if (!text[j].isLowSurrogate() && !isParagraphEnd(text[j])) ++rest;
    if (rest != out.omitted) std::abort();
    return 0;
}
