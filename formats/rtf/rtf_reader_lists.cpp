#include "rtf/rtf_format.h"
#include "rtf/rtf_reader.h"

// The reader's side of lists: labels written into the text wait until their paragraph shows
// whether it is a list item, and ending paragraphs join their lists.
namespace rtf {

QTextBlockFormat Reader::paragraphFormat() {
    QTextBlockFormat block = blockFormat(top().para);
    lists_.endParagraph(top().para, builder_.paragraphBlock(), block);
    return block;
}

QTextBlockFormat Reader::rowFormat(int depth) {
    return builder_.rowEndsParagraph(depth) ? paragraphFormat() : toBlockFormat(top().para);
}

QTextBlockFormat Reader::lastParagraphFormat() {
    // A last paragraph without \par is still an item; an empty one after a final \par is
    // dropped, so it must not join a list.
    const ParaState& para = stack_.size() > 1 ? top().para : finalPara_;
    QTextBlockFormat block = blockFormat(para);
    if (builder_.paragraphHasText()) lists_.endParagraph(para, builder_.paragraphBlock(), block);
    return block;
}

void Reader::collectLabel(QStringView s) {
    const QTextCharFormat& format = charFormat();
    if (label_.size + s.size() > WrittenLabel::kMaxChars) {
        label_.spilled = true;  // no label is this long: it is text
        placeLabel();
        put(s);
        return;
    }
    label_.size += s.size();
    if (!label_.runs.empty() && label_.runs.back().formatId == formatId_)
        label_.runs.back().text += s;
    else
        label_.runs.push_back({s.toString(), format, formatId_});
}

void Reader::placeLabel() {
    // A list item draws its label itself, and a paragraph of a list the file does not define has
    // none (the written label is for readers without lists); any other shows the written one.
    if (label_.runs.empty()) return;
    std::vector<WrittenLabel::Run> runs;
    runs.swap(label_.runs);
    label_.size = 0;
    if (!label_.spilled && (lists_.isItem(top().para) || lists_.namesNoList(top().para))) return;
    builder_.enterTable(top().para.tableDepth());
    for (const WrittenLabel::Run& r : runs) builder_.insertText(r.text, r.format, r.formatId);
}

}  // namespace rtf
