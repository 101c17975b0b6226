// Renders every metafile of the corpus at its reference size and prints how closely each one
// and each writer/format group agree with the references.
//   metafile_measure [CORPUS_FOLDER] [WORD ...] [--save DIR]

#include "corpus_measure.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString folder =
        args.isEmpty() ? QStringLiteral("../shared/corpus/metafile") : args.takeFirst();
    QString saveTo;
    const qsizetype save = args.indexOf(QStringLiteral("--save"));
    if (save >= 0 && save + 1 < args.size()) {
        saveTo = args[save + 1];
        args.remove(save, 2);
    }
    const QList<measure::FileResult> results = measure::measureCorpus(folder, args, saveTo);
    if (results.isEmpty()) {
        std::fprintf(stderr, "metafile_measure: no corpus at %s\n", qPrintable(folder));
        return 1;
    }
    std::printf("%-40s %-6s %7s %7s %7s %7s %6s %6s\n", "file", "ref", "bboxIoU", "inkF1", "SSIM",
                "colMAE", "text", "placed");
    for (const measure::FileResult& r : results)
        std::printf("%-40s %-6s %7.4f %7.4f %7.4f %7.4f %6.2f %6.2f%s\n", qPrintable(r.file),
                    qPrintable(r.reference.section('.', -2, -2)), r.agreement.bboxIou,
                    r.agreement.inkF1, r.agreement.ssim, r.agreement.colorMae, r.textFound,
                    r.textPlaced, r.rendered ? "" : "  NOT PARSED");
    std::printf("\nmedians      files bboxIoU  inkF1 inkF1(no text)  SSIM  colMAE  text placed\n");
    const auto summary = measure::summarize(results);
    for (auto it = summary.begin(); it != summary.end(); ++it)
        std::printf("%-12s %5d %7.4f %7.4f %14.4f %6.4f %6.4f %5.2f %6.2f\n", qPrintable(it.key()),
                    it->files, it->bboxIou, it->inkF1, it->inkF1NoText, it->ssim, it->colorMae,
                    it->textFound, it->textPlaced);
    return 0;
}
