#pragma once

#include "tests/support/FileFaults.h"

#include <QString>
#include <QTemporaryDir>

// A scratch folder for one test, removed afterwards.
class TempFolder
{
  public:
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        writeAll(file(name), bytes);
        return file(name);
    }

  private:
    QTemporaryDir dir_;
};
