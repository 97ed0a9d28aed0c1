#pragma once

#include <QString>

// Makes a file or folder read-only for the lifetime of the object, also for
// root, who ignores permission bits: first the immutable attribute, then a
// read-only bind mount, then plain permissions. Each is checked by trying to
// write; active() says whether one of them took.
class ReadOnlyPath
{
  public:
    explicit ReadOnlyPath(const QString& path);
    ~ReadOnlyPath();
    ReadOnlyPath(const ReadOnlyPath&) = delete;
    ReadOnlyPath& operator=(const ReadOnlyPath&) = delete;

    bool active() const { return method_ != Method::None; }
    // Why no method worked, for a skipped test.
    QString why() const { return why_; }

  private:
    enum class Method { None, Immutable, BindMount, Permissions };

    bool writable() const;
    bool setImmutable(bool on);
    bool bindReadOnly();
    bool dropPermissions();
    void undo();

    QString path_;
    Method method_ = Method::None;
    QString why_;
    int savedPermissions_ = 0;
};
