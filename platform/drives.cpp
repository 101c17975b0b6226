#include "drives.h"

#include <QDir>
#include <QSet>
#include <QStorageInfo>

namespace platform {
namespace {

bool isPseudoFileSystem(const QString& type) {
    static const QSet<QString> pseudo = {
        QStringLiteral("proc"),     QStringLiteral("sysfs"),      QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"),   QStringLiteral("tmpfs"),      QStringLiteral("cgroup"),
        QStringLiteral("cgroup2"),  QStringLiteral("securityfs"), QStringLiteral("debugfs"),
        QStringLiteral("tracefs"),  QStringLiteral("configfs"),   QStringLiteral("fusectl"),
        QStringLiteral("mqueue"),   QStringLiteral("hugetlbfs"),  QStringLiteral("pstore"),
        QStringLiteral("bpf"),      QStringLiteral("autofs"),     QStringLiteral("binfmt_misc"),
        QStringLiteral("squashfs"), QStringLiteral("efivarfs"),   QStringLiteral("nsfs"),
        QStringLiteral("ramfs"),    QStringLiteral("rpc_pipefs"), QStringLiteral("overlay")};
    return pseudo.contains(type);
}

bool isUnder(const QString& path, const QString& folder) {
    return path.startsWith(folder) && path.size() > folder.size();
}

// Two paths name the same place when they agree up to a trailing separator.
QString withoutTrailingSlash(const QString& path) {
    return path.size() > 1 && path.endsWith(QLatin1Char('/')) ? path.chopped(1) : path;
}

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kPathCase = Qt::CaseSensitive;
#endif

}  // namespace

std::vector<Drive> pickDrives(const std::vector<Volume>& volumes, const QString& home) {
    std::vector<Drive> drives;
#ifdef Q_OS_WIN
    for (const Volume& v : volumes) {
        if (!v.ready) continue;
        const QString letter = QDir::toNativeSeparators(v.rootPath);
        drives.push_back({v.rootPath, v.name.isEmpty() ? letter : letter + " [" + v.name + "]"});
    }
#else
    drives.push_back({QStringLiteral("/"), QStringLiteral("/ 根文件系统")});
    const QString homePath = withoutTrailingSlash(home);
    if (!homePath.isEmpty() && homePath != QLatin1String("/"))
        drives.push_back({homePath, QStringLiteral("主目录 ") + homePath});
    for (const Volume& v : volumes) {
        const QString root = withoutTrailingSlash(v.rootPath);
        const bool media = isUnder(root, QStringLiteral("/media/")) ||
                           isUnder(root, QStringLiteral("/run/media/")) ||
                           isUnder(root, QStringLiteral("/mnt/"));
        if (!media || !v.ready || isPseudoFileSystem(v.fileSystemType)) continue;
        const QString label = v.name.isEmpty() ? root.section(QLatin1Char('/'), -1) : v.name;
        drives.push_back({root, label + QLatin1Char(' ') + root});
    }
#endif
    return drives;
}

std::vector<Volume> mountedVolumes() {
    std::vector<Volume> volumes;
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes())
        volumes.push_back({info.rootPath(), QString::fromUtf8(info.fileSystemType()), info.name(),
                           info.isValid() && info.isReady()});
    return volumes;
}

int driveOf(const std::vector<Drive>& drives, const QString& directory) {
    const QString dir = withoutTrailingSlash(QDir::cleanPath(directory));
    int best = -1;
    qsizetype bestLength = -1;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const QString root = withoutTrailingSlash(drives[i].path);
        const bool contains = dir.compare(root, kPathCase) == 0 || root == QLatin1String("/") ||
                              dir.startsWith(root + QLatin1Char('/'), kPathCase);
        if (contains && root.size() > bestLength) {
            best = static_cast<int>(i);
            bestLength = root.size();
        }
    }
    return best;
}

}  // namespace platform
