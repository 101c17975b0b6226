#pragma once

#include "image_compare.h"

#include <QList>
#include <QMap>
#include <QString>

namespace measure {

struct FileResult {
    QString file;   // as the manifest names it, e.g. "wmf/house.lo.wmf"
    QString group;  // writer and format, e.g. "lo.wmf"
    QString reference;
    bool hasText = false;
    bool rendered = false;  // parsed and drawn at the reference size
    Agreement agreement;    // text boxes masked
    double textFound = 1;   // share of the manifest's strings that playback drew
    // Share of the manifest's text runs drawn with the same string at the same reference point
    // (within one logical unit); -1 where the drawn records are not the ones the manifest lists
    // (a WMF whose embedded EMF is played).
    double textPlaced = -1;
};

struct GroupSummary {
    int files = 0;
    double bboxIou = 0, inkF1 = 0, inkF1NoText = 0, ssim = 0, colorMae = 0, textFound = 0;
    double textPlaced = 1;  // over the files where it applies
};

// Renders each metafile of the corpus folder (the one holding manifest.json) at its reference
// size and compares it with the reference that shows it as GDI draws it. `only` restricts the
// run to files whose name contains one of the words.
// `saveTo`, when given, receives each rendering as a PNG.
QList<FileResult> measureCorpus(const QString& folder, const QStringList& only = {},
                                const QString& saveTo = {});

// Medians per group and over all ("all"); inkF1NoText only over files without text.
QMap<QString, GroupSummary> summarize(const QList<FileResult>& results);

}  // namespace measure
