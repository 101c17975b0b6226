#include "platform/drives.h"

#include <gtest/gtest.h>

namespace {

using platform::Drive;
using platform::Volume;

TEST(Drives, OffersRootHomeAndMediaButNoPseudoFileSystems) {
    const std::vector<Volume> volumes = {
        {"/", "ext4", "", true},
        {"/proc", "proc", "", true},
        {"/dev/shm", "tmpfs", "", true},
        {"/media/ann/USB", "vfat", "USB", true},
        {"/run/media/ann/CD", "iso9660", "", true},
        {"/media/ann/empty", "vfat", "", false},    // no medium
        {"/media/ann/snap", "squashfs", "", true},  // a pseudo file system under /media
        {"/mnt/backup/", "ext4", "备份", true},
        {"/boot", "ext4", "", true},  // not a place a person picks
    };
    const std::vector<Drive> drives = platform::pickDrives(volumes, "/home/ann/");
    std::vector<QString> paths;
    for (const Drive& d : drives) paths.push_back(d.path);
    EXPECT_EQ(paths, (std::vector<QString>{"/", "/home/ann", "/media/ann/USB", "/run/media/ann/CD",
                                           "/mnt/backup"}));
    EXPECT_TRUE(drives[2].caption.startsWith("USB"));
    EXPECT_TRUE(drives[3].caption.startsWith("CD"));

    // A directory lies on the drive with the longest path that holds it.
    struct Where {
        const char* dir;
        int drive;
    };
    for (const Where& w :
         {Where{"/home/ann/book", 1}, Where{"/home/ann", 1}, Where{"/home/bob", 0},
          Where{"/media/ann/USB/a/b", 2}, Where{"/media/ann/USB2", 0}, Where{"/tmp", 0}})
        EXPECT_EQ(platform::driveOf(drives, QString::fromLatin1(w.dir)), w.drive) << w.dir;
    EXPECT_EQ(platform::driveOf({}, "/tmp"), -1);
}

}  // namespace
