#pragma once

#include <QDialog>

class QImage;

namespace delvard {

// The About box: maker, product name, rights notice and the notice about the
// program's standing. No title bar; OK is the only way out.
class AboutDialog : public QDialog
{
    Q_OBJECT

  public:
    explicit AboutDialog(const QImage& logo, QWidget* owner = nullptr);

    // Shows a fresh About box modally over the owner's window and returns
    // when OK has closed it.
    static void showModal(const QImage& logo, QWidget* owner);

    // The texts the box shows, so the box and its callers agree.
    static QString companyName();
    static QString productName();
    static QString rightsNotice();
    static QString standingNotice();

  public slots:
    // Without a cancel action, Escape and close requests leave the box open.
    void reject() override;
};

} // namespace delvard
