#include "font_substitutes.h"

#include <QFont>
#include <QStringList>

#include <mutex>

namespace fonts {

void installFontSubstitutes() {
    static std::once_flag once;
    std::call_once(once, [] {
        const QStringList serif = {
            QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
            QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")};
        const QStringList sans = {QStringLiteral("Noto Sans CJK SC"),
                                  QStringLiteral("WenQuanYi Zen Hei"),
                                  QStringLiteral("Noto Serif CJK SC")};
        for (const char* name : {"宋体", "SimSun", "新宋体", "NSimSun", "仿宋", "仿宋_GB2312",
                                 "FangSong", "楷体", "楷体_GB2312", "KaiTi"})
            QFont::insertSubstitutions(QString::fromUtf8(name), serif);
        for (const char* name : {"黑体", "SimHei", "微软雅黑", "Microsoft YaHei"})
            QFont::insertSubstitutions(QString::fromUtf8(name), sans);
        // The Latin core fonts, where fontconfig does not alias them already.
        QFont::insertSubstitutions(
            QStringLiteral("Times New Roman"),
            {QStringLiteral("Liberation Serif"), QStringLiteral("Nimbus Roman"),
             QStringLiteral("DejaVu Serif")});
        QFont::insertSubstitutions(QStringLiteral("Arial"),
                                   {QStringLiteral("Liberation Sans"),
                                    QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
        QFont::insertSubstitutions(
            QStringLiteral("Courier New"),
            {QStringLiteral("Liberation Mono"), QStringLiteral("Nimbus Mono PS"),
             QStringLiteral("DejaVu Sans Mono")});
    });
}

}  // namespace fonts
