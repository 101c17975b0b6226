#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

#include <functional>
#include <vector>

#include "rtf/rtf_keywords.h"

namespace rtf {

// One formatting control word as written in a style or a default group, replayed where the
// style is applied, so a style can carry any word the reader understands.
struct StyleWord {
    QByteArray word;
    int param = 0;
    bool hasParam = false;
};

// Collects \stylesheet and the {\*\defchp} / {\*\defpap} groups. A style is kept as its
// formatting words and its \sbasedon; applying it replays the base first. Entries beyond
// kMaxStyles and words beyond kMaxWords are dropped, and a base chain stops at kMaxChain or at
// a style already on it, so a hostile sheet stays small and never loops.
class StyleSheet {
  public:
    static constexpr qsizetype kMaxStyles = 1024;
    static constexpr size_t kMaxWords = 128;
    static constexpr int kMaxChain = 16;

    enum class Kind { Paragraph, Character, DefaultCharacter, DefaultParagraph, Other };

    // A stylesheet entry begins; an entry without \s is the paragraph style 0.
    void beginEntry();
    // Where the words go outside an entry: \defchp / \defpap.
    void beginDefaults(Kind kind);
    // A control word inside the current entry or default group.
    void word(const Keyword& k, QByteArrayView word, int param, bool hasParam);
    // ';' or the end of the sheet.
    void endEntry();

    using Replay = std::function<void(const StyleWord&)>;
    // Replays the words of style `number` (its base chain first).
    void apply(Kind kind, int number, const Replay& replay) const;
    // Replays the document's default character or paragraph formatting.
    void applyDefaults(Kind kind, const Replay& replay) const;
    bool empty() const { return paragraph_.isEmpty() && character_.isEmpty(); }

  private:
    struct Style {
        std::vector<StyleWord> words;
        int basedOn = -1;
    };
    const QHash<int, Style>& table(Kind kind) const;

    QHash<int, Style> paragraph_;
    QHash<int, Style> character_;
    std::vector<StyleWord> defaultChar_;
    std::vector<StyleWord> defaultPara_;

    bool open_ = false;
    Kind kind_ = Kind::Paragraph;
    int number_ = 0;
    Style pending_;
};

// Formatting words a style may carry: character and paragraph properties, nothing that writes
// text, ends paragraphs or applies another style.
bool isStyleFormatting(Action a);

}  // namespace rtf
