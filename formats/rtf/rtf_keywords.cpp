#include "rtf/rtf_keywords.h"

#include <QTextCharFormat>
#include <QTextFrameFormat>

#include <string_view>
#include <unordered_map>

namespace rtf {

namespace {

using Map = std::unordered_map<std::string_view, Keyword>;

void add(Map& m, std::initializer_list<std::string_view> words, Keyword k) {
    for (auto w : words) m.emplace(w, k);
}

Keyword act(Action a) {
    return Keyword{a, Destination::Body, 0};
}
Keyword dest(Destination d) {
    return Keyword{Action::Destination, d, 0};
}
Keyword chr(char16_t c) {
    return Keyword{Action::Character, Destination::Body, c};
}

Map buildTable() {
    Map m;
    // Destinations whose content is not body text.
    add(m, {"aftncn",      "aftnsep",
            "aftnsepc",    "annotation",
            "atnauthor",   "atndate",
            "atnicn",      "atnid",
            "atnparent",   "atnref",
            "atntime",     "atrfend",
            "atrfstart",   "author",
            "bkmkend",     "bkmkstart",
            "buptim",      "category",
            "comment",     "company",
            "creatim",     "datafield",
            "datastore",   "do",
            "doccomm",     "docvar",
            "falt",        "fchars",
            "ffdeftext",   "ffentrymcr",
            "ffexitmcr",   "ffformat",
            "ffhelptext",  "ffl",
            "ffname",      "ffstattext",
            "file",        "filetbl",
            "fontemb",     "fontfile",
            "footer",      "footerf",
            "footerl",     "footerr",
            "footnote",    "formfield",
            "ftncn",       "ftnsep",
            "ftnsepc",     "generator",
            "header",      "headerf",
            "headerl",     "headerr",
            "hlinkbase",   "info",
            "keywords",    "latentstyles",
            "lchars",      "listoverridetable",
            "listpicture", "listtable",
            "manager",     "mmathPr",
            "nextfile",    "nonesttables",
            "nonshppict",  "objalias",
            "objclass",    "objdata",
            "objname",     "objsect",
            "objtime",     "oldcprops",
            "oldpprops",   "oldsprops",
            "oldtprops",   "operator",
            "panose",      "pgdsctbl",
            "pn",          "pnseclvl",
            "pntxta",      "pntxtb",
            "printim",     "private",
            "protusertbl", "revtbl",
            "revtim",      "rsidtbl",
            "rxe",         "shptxt",
            "stylesheet",  "subject",
            "tc",          "template",
            "themedata",   "colorschememapping",
            "title",       "txe",
            "userprops",   "wgrffmtfilter",
            "xe",          "xmlnstbl",
            "xmlopen",     "blipuid",
            "picprop"},
        dest(Destination::Skip));
    // Groups whose text is shown as written: field results, list labels.
    add(m, {"field", "fldrslt", "pntext", "listtext", "ud", "shppict", "shp", "object", "result"},
        dest(Destination::Body));
    // List definitions are read, not skipped.
    for (std::string_view w : {"listtable", "listoverridetable", "pn"})
        m.insert_or_assign(w, dest(Destination::Lists));
    add(m, {"pict"}, dest(Destination::Picture));
    add(m, {"fldinst"}, dest(Destination::FieldInst));
    add(m, {"shpinst", "sp", "sv"}, dest(Destination::ShapeInst));
    add(m, {"shprslt"}, dest(Destination::ShapeResult));
    add(m, {"fonttbl"}, dest(Destination::FontTable));
    add(m, {"colortbl"}, dest(Destination::ColorTable));
    add(m, {"upr"}, dest(Destination::Upr));
    // Styles are read, not skipped.
    m["stylesheet"] = dest(Destination::StyleSheet);
    add(m, {"defchp", "defpap"}, dest(Destination::StyleSheet));
    add(m, {"s"}, act(Action::ParaStyle));
    add(m, {"cs"}, act(Action::CharStyle));
    add(m, {"ds", "ts"}, act(Action::OtherStyle));
    add(m, {"sbasedon"}, act(Action::BasedOn));

    add(m, {"ansi"}, act(Action::Ansi));
    add(m, {"mac"}, act(Action::Mac));
    add(m, {"pc"}, act(Action::Pc));
    add(m, {"pca"}, act(Action::Pca));
    add(m, {"ansicpg"}, act(Action::AnsiCodePage));
    add(m, {"deff"}, act(Action::DefaultFont));
    add(m, {"uc"}, act(Action::UnicodeSkip));
    add(m, {"u"}, act(Action::Unicode));
    add(m, {"fcharset"}, act(Action::FontCharset));
    add(m, {"cpg"}, act(Action::FontCodePage));
    add(m, {"red"}, act(Action::Red));
    add(m, {"green"}, act(Action::Green));
    add(m, {"blue"}, act(Action::Blue));

    add(m, {"plain"}, act(Action::Plain));
    add(m, {"b"}, act(Action::Bold));
    add(m, {"i"}, act(Action::Italic));
    // Underlines as QTextCharFormat::UnderlineStyle; Qt has no double, thick or words-only line.
    const auto underline = [](QTextCharFormat::UnderlineStyle s) {
        return Keyword{Action::Underline, Destination::Body, char16_t(s)};
    };
    add(m, {"ul", "uldb", "ulth", "ulw"}, underline(QTextCharFormat::SingleUnderline));
    add(m, {"uld", "ulthd"}, underline(QTextCharFormat::DotLine));
    add(m, {"uldash", "ulldash", "ulthdash", "ulthldash"},
        underline(QTextCharFormat::DashUnderline));
    add(m, {"uldashd", "ulthdashd"}, underline(QTextCharFormat::DashDotLine));
    add(m, {"uldashdd", "ulthdashdd"}, underline(QTextCharFormat::DashDotDotLine));
    add(m, {"ulwave", "ulhwave", "ululdbwave"}, underline(QTextCharFormat::WaveUnderline));
    add(m, {"ulc"}, act(Action::UnderlineColor));
    add(m, {"caps"}, Keyword{Action::Caps, Destination::Body, 1});
    add(m, {"scaps"}, Keyword{Action::Caps, Destination::Body, 2});
    add(m, {"af"}, act(Action::AssociatedFont));
    add(m, {"dbch"}, Keyword{Action::CharacterClass, Destination::Body, 1});
    add(m, {"loch", "hich", "rtlch", "ltrch"}, act(Action::CharacterClass));
    add(m, {"sl"}, act(Action::LineSpacing));
    add(m, {"slmult"}, act(Action::LineMultiple));
    add(m, {"ulnone"}, act(Action::UnderlineNone));
    add(m, {"strike", "striked"}, act(Action::Strike));
    add(m, {"fs"}, act(Action::FontSize));
    add(m, {"f"}, act(Action::Font));
    add(m, {"cf"}, act(Action::Foreground));
    add(m, {"cb", "highlight", "chcbpat"}, act(Action::Background));
    add(m, {"super"}, act(Action::Super));
    add(m, {"sub"}, act(Action::Sub));
    add(m, {"nosupersub"}, act(Action::NoSuperSub));
    add(m, {"v"}, act(Action::Hidden));

    add(m, {"pard"}, act(Action::Pard));
    add(m, {"ql"}, act(Action::AlignLeft));
    add(m, {"qc"}, act(Action::AlignCenter));
    add(m, {"qr"}, act(Action::AlignRight));
    add(m, {"qj", "qd"}, act(Action::AlignJustify));
    add(m, {"li", "lin"}, act(Action::LeftIndent));
    add(m, {"ri", "rin"}, act(Action::RightIndent));
    add(m, {"fi"}, act(Action::FirstIndent));
    add(m, {"sb"}, act(Action::SpaceBefore));
    add(m, {"sa"}, act(Action::SpaceAfter));
    add(m, {"ls"}, act(Action::ListOverride));
    add(m, {"ilvl"}, act(Action::ListLevel));

    add(m, {"par"}, act(Action::Par));
    add(m, {"page", "sect"}, act(Action::PageBreak));
    add(m, {"chftn"}, act(Action::FootnoteMark));
    add(m, {"fnil", "froman", "fswiss", "fmodern", "fscript", "fdecor", "ftech", "fbidi"},
        act(Action::FontFamily));
    add(m, {"line"}, act(Action::Line));
    add(m, {"intbl"}, act(Action::InTable));
    add(m, {"itap"}, act(Action::TableDepth));
    add(m, {"trowd"}, act(Action::RowDefaults));
    add(m, {"cellx"}, act(Action::CellRight));
    add(m, {"clcbpat"}, act(Action::CellShading));
    add(m, {"clvmgf"}, act(Action::CellMergeFirst));
    add(m, {"clvmrg"}, act(Action::CellMerged));
    // Borders as QTextFrameFormat::BorderStyle.
    const auto border = [](QTextFrameFormat::BorderStyle s) {
        return Keyword{Action::Border, Destination::Body, char16_t(s)};
    };
    add(m, {"brdrs", "brdrth", "brdrsh", "brdrhair"}, border(QTextFrameFormat::BorderStyle_Solid));
    add(m, {"brdrdb", "brdrtriple"}, border(QTextFrameFormat::BorderStyle_Double));
    add(m, {"brdrdot"}, border(QTextFrameFormat::BorderStyle_Dotted));
    add(m, {"brdrdash", "brdrdashsm"}, border(QTextFrameFormat::BorderStyle_Dashed));
    add(m, {"brdrdashd"}, border(QTextFrameFormat::BorderStyle_DotDash));
    add(m, {"brdrdashdd"}, border(QTextFrameFormat::BorderStyle_DotDotDash));
    add(m, {"brdrinset"}, border(QTextFrameFormat::BorderStyle_Inset));
    add(m, {"brdroutset"}, border(QTextFrameFormat::BorderStyle_Outset));
    add(m, {"brdrnone", "brdrnil"}, border(QTextFrameFormat::BorderStyle_None));
    add(m, {"clbrdrt"}, Keyword{Action::CellBorderSide, Destination::Body, 0});
    add(m, {"clbrdrl"}, Keyword{Action::CellBorderSide, Destination::Body, 1});
    add(m, {"clbrdrb"}, Keyword{Action::CellBorderSide, Destination::Body, 2});
    add(m, {"clbrdrr"}, Keyword{Action::CellBorderSide, Destination::Body, 3});
    add(m,
        {"trbrdrt", "trbrdrl", "trbrdrb", "trbrdrr", "trbrdrh", "trbrdrv", "brdrt", "brdrl",
         "brdrb", "brdrr", "box", "brdrbtw", "brdrbar"},
        act(Action::BorderOther));
    add(m, {"brdrw"}, act(Action::BorderWidth));
    add(m, {"brdrcf"}, act(Action::BorderColor));
    add(m, {"clmgf"}, act(Action::CellHMergeFirst));
    add(m, {"clmrg"}, act(Action::CellHMerged));
    add(m, {"nesttableprops"}, dest(Destination::Body));  // holds the nested row's \nestrow
    add(m, {"cell", "nestcell"}, act(Action::Cell));
    add(m, {"row", "nestrow"}, act(Action::Row));
    add(m, {"tab"}, chr(u'\t'));
    add(m, {"emdash"}, chr(u'\u2014'));
    add(m, {"endash"}, chr(u'\u2013'));
    add(m, {"bullet"}, chr(u'\u2022'));
    add(m, {"lquote"}, chr(u'\u2018'));
    add(m, {"rquote"}, chr(u'\u2019'));
    add(m, {"ldblquote"}, chr(u'\u201C'));
    add(m, {"rdblquote"}, chr(u'\u201D'));
    add(m, {"emspace"}, chr(u'\u2003'));
    add(m, {"enspace"}, chr(u'\u2002'));
    add(m, {"qmspace"}, chr(u'\u2005'));
    add(m, {"zwj"}, chr(u'\u200D'));
    add(m, {"zwnj"}, chr(u'\u200C'));
    add(m, {"zwbo"}, chr(u'\u200B'));
    return m;
}

}  // namespace

Keyword lookupKeyword(QByteArrayView word) {
    static const Map table = buildTable();
    if (word.size() > 32) return {};
    auto it = table.find(std::string_view(word.data(), static_cast<size_t>(word.size())));
    return it == table.end() ? Keyword{} : it->second;
}

}  // namespace rtf
