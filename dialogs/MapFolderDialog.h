#pragma once

#include <QDialog>

class QFileSystemModel;
class QTreeView;

namespace delvard {

// The map-folder chooser: a tree of the file system's folders that opens at
// the current map folder. OK is the only way to close it.
class MapFolderDialog : public QDialog
{
    Q_OBJECT

  public:
    // Opens at startFolder, or at the nearest existing folder above it, or
    // at the home folder.
    explicit MapFolderDialog(const QString& startFolder, QWidget* owner = nullptr);

    // Shows a fresh chooser modally over the owner's window and returns the
    // folder picked when OK closed it.
    static QString choose(const QString& startFolder, QWidget* owner);

    // The folder selected in the list, with native separators and without a
    // trailing separator (a root keeps its own); empty while none is.
    QString selectedFolder() const;
    void selectFolder(const QString& folder);

  public slots:
    // No cancel action: Escape and close requests leave the chooser open.
    void reject() override;

  private:
    void acceptSelection();

    QFileSystemModel* folders_;
    QTreeView* list_;
    QString chosen_;
    // Whether the list still follows the start folder while it is read.
    bool keepInView_ = false;
};

} // namespace delvard
