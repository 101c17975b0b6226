#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <utility>
#include <vector>

namespace rtf {

// Windows code page of a font's \fcharset, or 0 when the charset says "use the document's".
int codePageForCharset(int charset);

// Decodes byte text of the Windows code pages RTF names (\ansicpg, \cpg, \fcharset). Decoders
// are made once per code page; unknown or unsupported code pages read as windows-1252.
class CodePageDecoder {
  public:
    QString decode(QByteArrayView bytes, int codePage);

  private:
    QStringDecoder& decoderFor(int codePage);
    std::vector<std::pair<int, QStringDecoder>> decoders_;
};

}  // namespace rtf
