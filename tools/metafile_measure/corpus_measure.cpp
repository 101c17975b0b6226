#include "corpus_measure.h"

#include "metafile/metafile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace measure {
namespace {

double median(QList<double> v) {
    if (v.isEmpty()) return 0;
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The reference that shows what a reader of the plain records should draw.
QString referenceFor(const QJsonObject& entry) {
    const QJsonObject ref = entry.value("reference").toObject();
    if (ref.value("best").toString() == QLatin1String("svg"))
        return ref.value("svg_png").toString();
    if (entry.value("format").toString() == QLatin1String("emf") && ref.value("gdi_png").isString())
        return ref.value("gdi_png").toString();
    return ref.value("lo_png").toString();
}

}  // namespace

QList<FileResult> measureCorpus(const QString& folder, const QStringList& only,
                                const QString& saveTo) {
    QFile manifestFile(QDir(folder).filePath("manifest.json"));
    if (!manifestFile.open(QIODevice::ReadOnly)) return {};
    const QJsonArray files =
        QJsonDocument::fromJson(manifestFile.readAll()).object().value("files").toArray();
    QList<FileResult> results;
    for (const QJsonValue& v : files) {
        const QJsonObject e = v.toObject();
        FileResult r;
        r.file = e.value("file").toString();
        if (!only.isEmpty() && std::none_of(only.begin(), only.end(),
                                            [&](const QString& w) { return r.file.contains(w); }))
            continue;
        r.group = e.value("writer").toString() + '.' + e.value("format").toString();
        r.hasText = e.value("has_text").toBool();
        r.reference = referenceFor(e);
        const QImage reference(QDir(folder).filePath("ref/" + r.reference));
        QFile file(QDir(folder).filePath(r.file));
        if (reference.isNull() || !file.open(QIODevice::ReadOnly)) continue;
        const metafile::Metafile picture = metafile::Metafile::fromData(file.readAll());
        QImage ours(reference.size(), QImage::Format_RGB32);
        ours.fill(Qt::white);
        QList<metafile::TextRun> runs;
        if (!picture.isNull()) {
            QPainter painter(&ours);
            picture.play(painter, QRectF(QPointF(0, 0), QSizeF(ours.size())), &runs);
            r.rendered = true;
        }
        if (!saveTo.isEmpty())
            ours.save(QDir(saveTo).filePath(QFileInfo(r.file).fileName() + ".png"));
        QList<QRect> boxes;
        for (const QJsonValue& b : e.value("text_boxes").toArray()) {
            const QJsonArray a = b.toArray();
            boxes.append(QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt()));
        }
        r.agreement = compareImages(ours, reference, boxes);
        const QJsonArray texts = e.value("text").toArray();
        if (!texts.isEmpty()) {
            QStringList drawn;
            for (const metafile::TextRun& run : runs) drawn.append(run.text);
            int found = 0;
            for (const QJsonValue& t : texts) {
                const qsizetype at = drawn.indexOf(t.toString());
                if (at >= 0) {
                    drawn.removeAt(at);
                    ++found;
                }
            }
            r.textFound = double(found) / double(texts.size());
        }
        const QJsonArray textRuns = e.value("text_runs").toArray();
        const bool embedded = e.value("header").toObject().value("embedded_emf").toBool();
        if (!textRuns.isEmpty() && !embedded) {
            int placed = 0;
            for (const QJsonValue& v : textRuns) {
                const QJsonObject t = v.toObject();
                const QPointF at(t.value("x").toDouble(), t.value("y").toDouble());
                placed += std::any_of(runs.begin(), runs.end(), [&](const metafile::TextRun& run) {
                    return run.text == t.value("text").toString() &&
                           std::abs(run.logical.x() - at.x()) <= 1 &&
                           std::abs(run.logical.y() - at.y()) <= 1;
                });
            }
            r.textPlaced = double(placed) / double(textRuns.size());
        }
        results.append(r);
    }
    return results;
}

QMap<QString, GroupSummary> summarize(const QList<FileResult>& results) {
    QMap<QString, QList<const FileResult*>> groups;
    for (const FileResult& r : results) {
        groups[r.group].append(&r);
        groups[QStringLiteral("all")].append(&r);
    }
    QMap<QString, GroupSummary> out;
    for (auto it = groups.begin(); it != groups.end(); ++it) {
        QList<double> iou, f1, f1plain, ssim, mae, text, placed;
        for (const FileResult* r : it.value()) {
            iou.append(r->agreement.bboxIou);
            f1.append(r->agreement.inkF1);
            if (!r->hasText) f1plain.append(r->agreement.inkF1);
            ssim.append(r->agreement.ssim);
            mae.append(r->agreement.colorMae);
            text.append(r->textFound);
            if (r->textPlaced >= 0) placed.append(r->textPlaced);
        }
        out[it.key()] = {int(it.value().size()),
                         median(iou),
                         median(f1),
                         median(f1plain),
                         median(ssim),
                         median(mae),
                         median(text),
                         placed.isEmpty() ? -1 : median(placed)};
    }
    return out;
}

}  // namespace measure
