// libFuzzer entry: any bytes must import without crashing, hanging or unbounded memory. Seed it
// with the hostile corpus: rtf_fuzz ../shared/corpus/rtf/hostile
#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

#include "platform/rtf/rtf_importer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "rtf_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    QTextDocument doc;
    platform::rtf::importRtf(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), doc);
    return 0;
}
