#include "files/filelook.h"

#include <cerrno>

#include <sys/stat.h>

FileLook FileLook::at(const QString &path)
{
    FileLook look;
    look.path = path;
    if (path.isEmpty())
        return look;
    look.file = std::make_unique<QFile>();
    errno = 0;
    look.verdict = DescriptionsCheck::openRegular(path, *look.file);
    if (!look.opened()) {
        look.error = errno;
        look.file.reset();
        return look;
    }
    look.stamp = stampOf(look.file->handle());
    look.size = look.stamp ? look.stamp->size : look.file->size();
    look.head = look.file->read(headBytes);
    if (look.file->error() != QFileDevice::NoError) {
        look.verdict = DescriptionsCheck::Verdict::Unreadable;
        look.error = EIO;
        look.file.reset();
        look.head.clear();
    }
    return look;
}

QFile &FileLook::rewound()
{
    Q_ASSERT(file);
    if (file->isOpen())
        file->seek(0);
    return *file;
}

std::optional<FileLook::Stamp> FileLook::stampOf(int fd)
{
    struct stat st{};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return std::nullopt;
    return Stamp{qint64(st.st_size), qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec)};
}
