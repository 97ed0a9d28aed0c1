#pragma once

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

// The map-folder chooser. While Module1::ChooseFolderMode is set it opens
// at MapFolder and OK stores the folder picked in Dir1 back into MapFolder.
// OK is the only way to close it.
class frmGetDir : public QDialog
{
    Q_OBJECT

  public:
    explicit frmGetDir(QWidget* owner = nullptr);

    // Shows a fresh chooser modally over the owner's window and returns when
    // OK has closed it. The caller sets ChooseFolderMode beforehand and
    // stores MapFolder afterwards.
    static void showModal(QWidget* owner);

    // The folder currently selected in Dir1, with native separators and
    // without a trailing separator (a drive's root keeps its own); empty
    // while nothing is selected.
    QString Dir1Path() const;
    void setDir1Path(const QString& folder);

    // The folder the list opens at for a wanted folder: the folder itself if
    // it exists, else its nearest existing parent, else the user's home.
    static QString existingFolderFor(const QString& wanted);

  public slots:
    // No cancel action: Escape and close requests leave the chooser open.
    void reject() override;

  private:
    void Form_Load();
    void Command1_Click();

    QFileSystemModel* folders_;
    // Whether the list still follows the start folder while it is read.
    bool keepInView_ = false;
    QLabel* Label1;
    QTreeView* Dir1;
    QPushButton* Command1;
};
