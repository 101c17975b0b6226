// Where the bytes of the text between control words go: each destination collects them its own
// way (body text and list labels wait to be decoded in one piece, tables split on ';').
#include "rtf/rtf_reader.h"

#include <algorithm>

namespace rtf {

void Reader::text(QByteArrayView bytes) {
    switch (top().dest) {
        case Destination::Body:
            bytes_.append(bytes);
            break;
        case Destination::FontTable:
            while (!bytes.isEmpty()) {
                const qsizetype semi = bytes.indexOf(';');
                if (semi < 0) {
                    fonts_.appendNameBytes(bytes);
                    break;
                }
                fonts_.appendNameBytes(bytes.first(semi));
                fonts_.endName();
                bytes = bytes.sliced(semi + 1);
            }
            break;
        case Destination::Picture:
            picture_.hexText(bytes);
            break;
        case Destination::Lists:
            bytes_.append(bytes);
            break;
        case Destination::FieldInst:
            fieldInst_.append(
                bytes.first(std::min(bytes.size(), kMaxInstruction - fieldInst_.size())));
            break;
        case Destination::StyleSheet:
            if (bytes.contains(';')) styles_.endEntry();
            break;
        case Destination::ColorTable:
            for (char c : bytes)
                if (c == ';') colors_.endEntry();
            break;
        default:
            break;
    }
}

void Reader::hexByte(unsigned char byte) {
    const char c = static_cast<char>(byte);
    if (top().dest == Destination::FontTable) {
        fonts_.appendNameBytes(QByteArrayView(&c, 1));
    } else if (top().dest == Destination::Lists) {
        bytes_.append(c);  // with the bytes around it: a double-byte character is two escapes
    } else if (top().dest == Destination::Body && (byte >= 0x20 || byte == '\t')) {
        bytes_.append(c);
    }
}

}  // namespace rtf
