#pragma once

#include <QPointer>
#include <QWidget>

namespace delvard {

// The read-me viewer: shows the user's guide as plain text. The caller keeps
// at most one open; it reads the file when it opens, not while it is open.
class ReadmeViewer : public QWidget
{
    Q_OBJECT

  public:
    // Shows the one viewer of the guide at path, modeless and without an
    // owner, centred over centreOver's window. `viewer` is the caller's
    // handle on it: an open viewer is only brought forward (the file is not
    // read again); a closed one is replaced by a fresh window that reads the
    // file again. Returns the viewer shown.
    static ReadmeViewer* showSingle(QPointer<ReadmeViewer>& viewer, const QString& path,
                                    QWidget* centreOver);

    // Reads the file now; the window deletes itself when closed.
    explicit ReadmeViewer(const QString& path);
};

} // namespace delvard
