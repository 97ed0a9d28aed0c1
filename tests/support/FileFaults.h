#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A file's bytes, or none when it cannot be read.
inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

// Faults made for real (tests run as root, which ignores permission bits):
// a small tmpfs is a disk that really fills up, unmounted when it goes away.
class ScratchMount
{
  public:
    explicit ScratchMount(int kilobytes);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool mounted() const { return mounted_; }
    QString path() const { return dir_.path(); }
    // The whole disk read-only from now on, as a CD or a write-protected stick.
    bool makeReadOnly();

  private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// The immutable attribute on a path for one scope: read-only even for root.
class Immutable
{
  public:
    explicit Immutable(QString path);
    ~Immutable();
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool active() const { return active_; }

  private:
    QString path_;
    bool active_ = false;
};
