#pragma once

#include <QWidget>

class QPlainTextEdit;

// The read-me viewer: shows ReadMe.txt from the program's folder. One
// window at most; it reads the file when it opens, not while it is open.
class frmReadme : public QWidget
{
    Q_OBJECT

  public:
    // Shows the one viewer, modeless and without an owner, centred over
    // centreOver's window. An open viewer is only brought forward; a closed
    // one is replaced by a fresh window that reads the file again.
    static frmReadme* showSingle(QWidget* centreOver);

    // The file shown: the program's folder + separator + "ReadMe.txt".
    static QString ReadmePath();

    // Tests point the viewer at a scratch file instead of the file beside
    // the executable; an empty path restores the default.
    static void overrideReadmePath(const QString& path);

  private:
    frmReadme();
    void Form_Load();

    QPlainTextEdit* Text1;
};
