#include "ReadOnlyPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

ReadOnlyPath::ReadOnlyPath(const QString& path) : path_(path)
{
    if (setImmutable(true)) {
        if (!writable()) {
            method_ = Method::Immutable;
            return;
        }
        setImmutable(false);
    }
    if (bindReadOnly()) {
        if (!writable()) {
            method_ = Method::BindMount;
            return;
        }
        method_ = Method::BindMount;
        undo();
    }
    if (dropPermissions()) {
        if (!writable()) {
            method_ = Method::Permissions;
            return;
        }
        method_ = Method::Permissions;
        undo();
    }
    why_ += QStringLiteral("%1 stays writable; ").arg(path_);
}

ReadOnlyPath::~ReadOnlyPath()
{
    undo();
}

void ReadOnlyPath::undo()
{
    switch (method_) {
    case Method::Immutable:
        setImmutable(false);
        break;
    case Method::BindMount:
#ifdef Q_OS_LINUX
        umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
#endif
        break;
    case Method::Permissions:
        QFile::setPermissions(path_, QFileDevice::Permissions(savedPermissions_));
        break;
    case Method::None:
        break;
    }
    method_ = Method::None;
}

// A probe write, the only proof that counts for root.
bool ReadOnlyPath::writable() const
{
    if (QFileInfo(path_).isDir()) {
        QFile probe(QDir(path_).filePath(QStringLiteral(".write-probe")));
        if (!probe.open(QIODevice::WriteOnly))
            return false;
        probe.close();
        probe.remove();
        return true;
    }
    QFile file(path_);
    return file.open(QIODevice::Append);
}

bool ReadOnlyPath::setImmutable(bool on)
{
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        why_ += QStringLiteral("cannot open %1: %2; ")
                    .arg(path_, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (!ok)
        why_ += QStringLiteral("immutable attribute refused: %1; ")
                    .arg(QString::fromLocal8Bit(strerror(errno)));
    ::close(fd);
    return ok;
#else
    Q_UNUSED(on);
    why_ += QStringLiteral("no immutable attribute on this platform; ");
    return false;
#endif
}

bool ReadOnlyPath::bindReadOnly()
{
#ifdef Q_OS_LINUX
    const QByteArray native = QFile::encodeName(path_);
    if (mount(native.constData(), native.constData(), nullptr, MS_BIND, nullptr) != 0) {
        why_ +=
            QStringLiteral("bind mount refused: %1; ").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    if (mount(nullptr, native.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
        0) {
        why_ += QStringLiteral("read-only remount refused: %1; ")
                    .arg(QString::fromLocal8Bit(strerror(errno)));
        umount2(native.constData(), MNT_DETACH);
        return false;
    }
    return true;
#else
    why_ += QStringLiteral("no bind mounts on this platform; ");
    return false;
#endif
}

bool ReadOnlyPath::dropPermissions()
{
    const QFileDevice::Permissions before = QFileInfo(path_).permissions();
    savedPermissions_ = int(before);
    const QFileDevice::Permissions writeBits = QFileDevice::WriteOwner | QFileDevice::WriteUser |
                                               QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (!QFile::setPermissions(path_, before & ~writeBits)) {
        why_ += QStringLiteral("permissions cannot be changed; ");
        return false;
    }
    return true;
}
