#pragma once

#include <QByteArrayView>
#include <QPointer>
#include <QString>
#include <QTextCharFormat>
#include <QTextList>
#include <QTextListFormat>

#include <array>
#include <unordered_map>
#include <vector>

#include "rtf/rtf_state.h"

class QTextBlock;
class QTextBlockFormat;

namespace rtf {

// How one level of a list numbers its items and what its label says around the number.
struct ListLevel {
    enum class Kind : uint8_t { Number, Bullet, None };
    Kind kind = Kind::Number;
    QTextListFormat::Style style = QTextListFormat::ListDecimal;
    int start = 1;
    int leftIndent = 0;  // twips; where the level's text begins when its paragraph says nothing
    // The label as written: literal characters, and characters below kPlaceholders standing for
    // the number of that level (Word's \leveltext; WordPad's text before and after the number).
    QString text;
    static constexpr char16_t kPlaceholders = 9;
};

// The label a paragraph brought along (\listtext, \pntext), held until it is known whether the
// paragraph is a list item, which draws its own label; otherwise the label is its text.
struct WrittenLabel {
    struct Run {
        QString text;
        QTextCharFormat format;
        int formatId = -1;
    };
    std::vector<Run> runs;
    qsizetype size = 0;
    bool spilled = false;  // too long for a label: it went into the text
    // A "label" longer than this is text, and goes into the document at once.
    static constexpr qsizetype kMaxChars = 512;
};

// Reads Word's \listtable and \listoverridetable and WordPad's {\*\pn} groups, and turns
// paragraphs that name a list (\ls with \ilvl, or a \pn definition) into items of QTextLists
// whose labels number as the author's did. Word numbers a list across the whole document and
// restarts a level after an item of a higher one; WordPad's lists end at the first paragraph
// without numbering. Tables and open lists are capped, so hostile input stays cheap.
class ListTracker {
  public:
    static constexpr size_t kMaxLists = 1024;
    static constexpr size_t kMaxOverrides = 2048;
    static constexpr size_t kMaxNumberings = 1024;  // distinct WordPad definitions
    static constexpr size_t kMaxOpen = 256;
    static constexpr int kMaxLevels = 9;
    static constexpr qsizetype kMaxLabelText = 32;

    // The destination `word` (listtable, listoverridetable, pn) begins at group depth `depth`.
    void beginDestination(QByteArrayView word, int depth);
    // Control words and text inside it; `depth` is the depth of the group they are in. Words
    // that say nothing about lists are not taken (false).
    bool controlWord(QByteArrayView word, int param, bool hasParam, int depth);
    void text(QStringView s);
    // A group inside the destination ended; `depth` is the depth now.
    void groupEnd(int depth);
    // The destination ended: for a \pn group the numbering it defined (ParaState::pn), else -1.
    int endDestination();

    // True when a paragraph of `para` becomes a list item whose label can be drawn as written.
    bool isItem(const ParaState& para) const;
    // True when `para` names a Word list (\ls) that the file does not define.
    bool namesNoList(const ParaState& para) const;
    // The paragraph in `block` ends: a list item joins its list, and `format` gives its text the
    // list's indent instead of the hanging one; any other paragraph ends WordPad's lists.
    void endParagraph(const ParaState& para, const QTextBlock& block, QTextBlockFormat& format);

  private:
    struct List {
        int id = 0;
        std::vector<ListLevel> levels;
    };
    struct Override {
        int listId = 0;
        bool restart = false;  // \listoverridestartat: numbering of its own
        std::array<int, kMaxLevels> starts{};
        int lfoLevels = 0;
    };
    struct Open {
        int scheme = 0;  // which numbering it continues; WordPad's is kPnScheme
        int level = 0;
        int numbering = -1;        // WordPad definition, which must match to continue
        QPointer<QTextList> list;  // Qt deletes a list that loses its last item
        int counter = 0;           // the number of its last item
    };
    static constexpr int kPnScheme = -1;
    struct Item {
        int scheme = 0;
        int level = 0;
        int numbering = -1;
        const ListLevel* def = nullptr;
        const Override* override = nullptr;
        // For each level, its definition (for numbers of other levels in this label).
        const std::vector<ListLevel>* levels = nullptr;
    };
    bool resolve(const ParaState& para, Item& item) const;
    int startOf(const Item& item, int level) const;
    QTextListFormat listFormat(const Item& item) const;
    Open* findOpen(int scheme, int level);
    void closeDeeper(int scheme, int level);

    enum class Element : uint8_t {
        None,
        Level,
        LevelText,
        LevelNumbers,
        Name,
        Override,
        LfoLevel,
        TextBefore,
        TextAfter
    };
    struct Nest {
        Element element;
        int depth;
    };
    Element current() const { return nest_.empty() ? Element::None : nest_.back().element; }
    void enter(Element e, int depth);
    ListLevel* readingLevel();  // the level of the list being read, if any
    bool tableWord(QByteArrayView word, int param, bool hasParam, int depth);
    bool numberingWord(QByteArrayView word, int param, bool hasParam, int depth);

    std::vector<List> lists_;
    std::vector<Override> overrides_;
    std::unordered_map<int, size_t> listById_;      // \listid -> lists_ index, first wins
    std::unordered_map<int, size_t> overrideByLs_;  // \ls -> overrides_ index, first wins
    std::vector<ListLevel> numberings_;             // WordPad's, one level each
    std::vector<int> numberingLevels_;              // their \pnlvl, 0-based
    std::vector<Open> open_;

    // Reading state.
    bool inPn_ = false;
    bool listOpen_ = false;  // a \list group is being read; its levels go to lists_.back()
    ListLevel pn_;
    int pnLevel_ = 0;
    bool pnUsable_ = true;  // \pnlvlcont and friends: numbering without a label
    std::vector<Nest> nest_;
    QString levelText_;
    QString pnBefore_;
    QString pnAfter_;
};

}  // namespace rtf
