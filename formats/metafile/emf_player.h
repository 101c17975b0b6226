#pragma once

// The EMF record player: one class over two files. Internal.

#include "byte_reader.h"
#include "dib.h"
#include "records.h"

namespace metafile {

class EmfPlayer {
  public:
    EmfPlayer(QByteArrayView bytes, Player& p) : bytes_(bytes), p_(p) {}
    void play();

  private:
    void record(EmfRecord type, ByteReader& r);
    void poly(EmfRecord type, ByteReader& r, bool small);
    void polyPoly(EmfRecord type, ByteReader& r, bool small);
    void polyDraw(ByteReader& r, bool small);
    void text(ByteReader& r, bool wide);
    void polyText(ByteReader& r, bool wide);
    void emrText(ByteReader& r, bool wide);
    void bitmapRecord(EmfRecord type, ByteReader& r);
    void gradient(ByteReader& r);
    GdiObject extPen(ByteReader& r);
    Dib dibAt(ByteReader& r, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits, uint32_t cbBits,
              bool alpha = false);

    QByteArrayView bytes_;
    Player& p_;
};

}  // namespace metafile
