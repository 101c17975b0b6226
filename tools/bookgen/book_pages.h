#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace bookgen {

// One page of the sample book "春游": the picture, its file name (the extension picks the
// format) and the name of its text file, empty for a page shown without text.
struct BookPage {
    QString imageFile;
    QString textFile;
    QImage picture;
};

QList<BookPage> samplePages();

}  // namespace bookgen
