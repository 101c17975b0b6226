#include "fonts.h"

#include <QFont>
#include <QStringList>

namespace platform {

void installFontSubstitutes() {
    const QStringList serif = {QStringLiteral("Noto Serif CJK SC"),
                               QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Sans CJK SC"),
                               QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList sans = {QStringLiteral("Noto Sans CJK SC"),
                              QStringLiteral("WenQuanYi Zen Hei"),
                              QStringLiteral("Noto Serif CJK SC")};
    for (const char* name : {"宋体", "SimSun", "新宋体", "NSimSun", "仿宋", "仿宋_GB2312",
                             "FangSong", "楷体", "楷体_GB2312", "KaiTi"})
        QFont::insertSubstitutions(QString::fromUtf8(name), serif);
    for (const char* name : {"黑体", "SimHei", "微软雅黑", "Microsoft YaHei"})
        QFont::insertSubstitutions(QString::fromUtf8(name), sans);
}

QFont songti(double points, bool bold) {
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace platform
