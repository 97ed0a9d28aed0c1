#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A scratch folder for one test, removed afterwards.
class TempFolder
{
  public:
    TempFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const;
    static QByteArray read(const QString& path);

  private:
    QTemporaryDir dir_;
};
