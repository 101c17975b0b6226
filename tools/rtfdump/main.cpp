// rtfdump FILE.rtf: the imported document as JSON - text, paragraphs with alignment, runs and
// list level, picture and table counts - to compare with a corpus reference.
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QTextDocument>

#include <cstdio>

#include "rtf/rtf.h"
#include "rtf_json.h"

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
    const QJsonObject out = rtfjson::documentToJson(doc);
    std::fputs(QJsonDocument(out).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}
