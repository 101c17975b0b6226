// rtfdump FILE.rtf: the imported document as JSON - text, paragraphs with alignment and list
// level, picture and table counts - to compare with a corpus reference.
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

#include <cstdio>

#include "rtf/rtf.h"

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

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: rtfdump FILE.rtf\n");
        return 2;
    }
    QFile f(QString::fromLocal8Bit(argv[1]));
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "rtfdump: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument doc;
    if (!rtf::importRtf(f.readAll(), doc)) {
        std::fprintf(stderr, "rtfdump: not RTF: %s\n", argv[1]);
        return 1;
    }
    QJsonArray paragraphs;
    QStringList texts;
    int images = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString text;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.charFormat().isImageFormat()) {
                images += frag.length();
                continue;
            }
            text += frag.text();
        }
        text.replace(QChar::LineSeparator, u'\n');
        QJsonObject p{{"text", text}, {"align", alignName(b.blockFormat().alignment())}};
        if (const QTextList* list = b.textList()) {
            // The plain text shows a label indented by its level, as the reference does.
            const int level = list->format().indent();
            const QString label = rtf::listItemLabel(b);
            p["list"] = QJsonObject{{"level", level}, {"label", label}};
            text = QString(4 * level, u' ') + label + u' ' + text;
        }
        texts << text;
        paragraphs.append(p);
    }
    const QJsonObject out{{"text", texts.join(u'\n')},
                          {"paragraphs", paragraphs},
                          {"images", images},
                          {"tables", tableCount(doc.rootFrame())}};
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}
