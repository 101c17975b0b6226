#include "rtf_json.h"

#include "rtf/rtf.h"

#include <QBrush>
#include <QColor>
#include <QJsonArray>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

namespace rtfjson {

namespace {

const char* alignName(Qt::Alignment a) {
    if (a & Qt::AlignHCenter) return "center";
    if (a & Qt::AlignRight) return "right";
    if (a & Qt::AlignJustify) return "justify";
    return "left";
}

int tableCount(const QTextFrame* frame) {
    int n = qobject_cast<const QTextTable*>(frame) ? 1 : 0;
    for (const QTextFrame* child : frame->childFrames()) n += tableCount(child);
    return n;
}

QJsonValue colorValue(const QTextCharFormat& f, int property) {
    if (!f.hasProperty(property)) return QJsonValue::Null;
    const QBrush b = f.brushProperty(property);
    if (b.style() == Qt::NoBrush) return QJsonValue::Null;
    return b.color().name();
}

QJsonObject runOf(const QTextCharFormat& f, qsizetype start) {
    const QTextCharFormat::VerticalAlignment v = f.verticalAlignment();
    return QJsonObject{
        {"start", start},
        {"length", 0},
        {"bold", f.fontWeight() >= QFont::Bold},
        {"italic", f.fontItalic()},
        {"underline", f.underlineStyle() != QTextCharFormat::NoUnderline},
        {"strike", f.fontStrikeOut()},
        {"color", colorValue(f, QTextFormat::ForegroundBrush)},
        {"background", colorValue(f, QTextFormat::BackgroundBrush)},
        {"size_pt", f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 12.0},
        {"super", v == QTextCharFormat::AlignSuperScript},
        {"sub", v == QTextCharFormat::AlignSubScript}};
}

bool sameRun(QJsonObject a, QJsonObject b) {
    a.remove("start");
    a.remove("length");
    b.remove("start");
    b.remove("length");
    return a == b;
}

}  // namespace

QJsonObject documentToJson(const QTextDocument& doc) {
    QJsonArray paragraphs;
    QStringList texts;
    int images = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString text;
        QJsonArray runs;
        QJsonObject run;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.charFormat().isImageFormat()) {
                images += frag.length();
                continue;
            }
            QJsonObject next = runOf(frag.charFormat(), text.size());
            text += frag.text();
            if (!run.isEmpty() && sameRun(run, next)) {
                run["length"] = text.size() - run.value("start").toInteger();
                continue;
            }
            if (!run.isEmpty()) runs.append(run);
            next["length"] = text.size() - next.value("start").toInteger();
            run = next;
        }
        if (!run.isEmpty() && run.value("length").toInteger() > 0) runs.append(run);
        QJsonObject p{{"text", text.replace(QChar::LineSeparator, u'\n')},
                      {"align", alignName(b.blockFormat().alignment())},
                      {"runs", runs}};
        QString line = p.value("text").toString();
        if (const QTextList* list = b.textList()) {
            // The plain text shows a label indented by its level, as the reference does.
            const int level = list->format().indent();
            const QString label = rtf::listItemLabel(b);
            p["list"] = QJsonObject{{"level", level}, {"label", label}};
            line = QString(4 * level, u' ') + label + u' ' + line;
        }
        texts << line;
        paragraphs.append(p);
    }
    return QJsonObject{{"text", texts.join(u'\n')},
                       {"paragraphs", paragraphs},
                       {"images", images},
                       {"tables", tableCount(doc.rootFrame())}};
}

}  // namespace rtfjson
