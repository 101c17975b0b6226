#pragma once

#include <QByteArrayView>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Fonts, text layout and image plugins need an application object; one serves every input.
inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "huaben_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

inline QByteArrayView bytes(const uint8_t* data, size_t size) {
    return QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

}  // namespace fuzz
