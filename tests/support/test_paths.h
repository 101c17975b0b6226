#pragma once

#include <QDir>
#include <QString>

namespace testpaths {

// Our own small fixtures.
inline QString data(const QString& name) {
    return QStringLiteral(HUABEN_TEST_DATA_DIR "/") + name;
}

// The shared corpus beside the repository; tests that need it skip themselves when it is absent.
inline QString corpus(const QString& sub) {
    return QDir::cleanPath(QStringLiteral(HUABEN_CORPUS_DIR "/") + sub);
}
inline bool haveCorpus(const QString& sub) {
    return QDir(corpus(sub)).exists();
}

inline QString source(const QString& rel) {
    return QStringLiteral(HUABEN_SOURCE_DIR "/") + rel;
}

}  // namespace testpaths
