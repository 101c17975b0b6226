#include "rtf/rtf_codepage.h"

#include "rtf/rtf_symbol.h"

namespace rtf {

namespace {

// ICU names of the code pages word processors write; the double-byte ones decode lead and trail
// bytes together, so callers hand over whole runs of bytes.
const char* decoderName(int codePage) {
    switch (codePage) {
        case 437:
            return "IBM437";
        case 850:
            return "IBM850";
        case 874:
            return "windows-874";
        case 932:
            return "windows-31j";
        case 936:
            return "GBK";
        case 949:
            return "windows-949";
        case 950:
            return "Big5";
        case 1250:
            return "windows-1250";
        case 1251:
            return "windows-1251";
        case 1252:
            return "windows-1252";
        case 1253:
            return "windows-1253";
        case 1254:
            return "windows-1254";
        case 1255:
            return "windows-1255";
        case 1256:
            return "windows-1256";
        case 1257:
            return "windows-1257";
        case 1258:
            return "windows-1258";
        case 10000:
            return "macintosh";
        case 54936:
            return "GB18030";
        case 65001:
            return "UTF-8";
        default:
            return nullptr;
    }
}

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

int codePageForCharset(int charset) {
    switch (charset) {
        case 0:
            return 1252;
        case 2:
            return kSymbolCodePage;
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
            return 437;
        default:
            return 0;  // 1 = default charset, unknown: the document's code page
    }
}

QString CodePageDecoder::decode(QByteArrayView bytes, int codePage) {
    if (codePage == kSymbolCodePage || codePage == kAdobeSymbolCodePage)
        return decodeSymbolFont(bytes, codePage == kAdobeSymbolCodePage);
    // ASCII reads the same in every supported code page; skip the converter for it.
    if (isAscii(bytes)) return QString::fromLatin1(bytes);
    return decoderFor(codePage).decode(bytes);
}

QStringDecoder& CodePageDecoder::decoderFor(int codePage) {
    // Unknown numbers share one entry, so hostile input cannot grow the cache.
    if (!decoderName(codePage)) codePage = 1252;
    for (auto& [cp, decoder] : decoders_)
        if (cp == codePage) return decoder;
    QStringDecoder decoder(decoderName(codePage), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        decoder = QStringDecoder("windows-1252", QStringDecoder::Flag::Stateless);
    decoders_.emplace_back(codePage, std::move(decoder));
    return decoders_.back().second;
}

}  // namespace rtf
