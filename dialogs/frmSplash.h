#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The About box: product name, maker, rights notice and the notice about
// the program's standing. No title bar; OK is the only way out.
class frmSplash : public QDialog
{
    Q_OBJECT

  public:
    explicit frmSplash(QWidget* owner = nullptr);

    // Shows a fresh About box modally over the owner's window and returns
    // when OK has closed it.
    static void showModal(QWidget* owner);

    // The texts the box shows, so the About box and its users agree.
    static QString companyProduct();
    static QString productName();
    static QString copyrightNotice();
    static QString standingNotice();

  public slots:
    // Without a cancel action, Escape and close requests leave the box open.
    void reject() override;

  private:
    void Command1_Click();

    QGroupBox* Frame1;
    QLabel* imgLogo;
    QLabel* lblCompanyProduct;
    QLabel* lblProductName;
    QLabel* lblCopyright;
    QPlainTextEdit* Text1;
    QPushButton* Command1;
};
