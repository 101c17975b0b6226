#pragma once

#include <QString>

#include <vector>

class QStorageInfo;

namespace platform {

// A mounted volume as the drive list sees it.
struct Volume {
    QString rootPath;
    QString fileSystemType;
    QString name;
    bool ready = true;
};

// One entry of the drive list: where it leads and what the person reads.
struct Drive {
    QString path;
    QString caption;
    friend bool operator==(const Drive&, const Drive&) = default;
};

// The drives a person would pick from. On Windows every ready drive letter; elsewhere the root
// file system, the home folder and the removable or added media mounted under /media,
// /run/media and /mnt, never the system's pseudo file systems.
std::vector<Drive> pickDrives(const std::vector<Volume>& volumes, const QString& home);

// The volumes mounted now, as the operating system reports them.
std::vector<Volume> mountedVolumes();

// The index of the drive a directory lies on (the longest path that contains it), or -1.
int driveOf(const std::vector<Drive>& drives, const QString& directory);

}  // namespace platform
