#include "frmSplash.h"

#include "ArialFont.h"
#include "ImageList.h"
#include "NamedControl.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// A label that sizes itself to its text keeps its top-left corner and
// takes the size its text needs in its font.
void fitToText(QLabel* label)
{
    label->resize(label->sizeHint());
}

} // namespace

frmSplash::frmSplash(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAccessibleName(QStringLiteral("About ") + productName());
    setFixedSize(twipsSize(7380, 4245));

    Frame1 = makeNamedControl<QGroupBox>(this, "Frame1", twipsRect(150, 60, 7080, 4050));

    imgLogo = makeNamedControl<QLabel>(Frame1, "imgLogo", twipsRect(360, 240, 1815, 2385));
    imgLogo->setPixmap(QPixmap::fromImage(ImageList::programIcon()));
    imgLogo->setScaledContents(true);

    lblCompanyProduct =
        makeNamedControl<QLabel>(Frame1, "lblCompanyProduct", twipsRect(2355, 240, 2700, 435));
    lblCompanyProduct->setFont(arialFont(18, true));
    lblCompanyProduct->setText(companyProduct());
    fitToText(lblCompanyProduct);

    lblProductName =
        makeNamedControl<QLabel>(Frame1, "lblProductName", twipsRect(2520, 720, 3810, 765));
    lblProductName->setFont(arialFont(32.25, true));
    lblProductName->setText(productName());
    fitToText(lblProductName);

    lblCopyright =
        makeNamedControl<QLabel>(Frame1, "lblCopyright", twipsRect(3240, 3600, 2895, 255));
    lblCopyright->setFont(arialFont(8.25, false));
    lblCopyright->setText(copyrightNotice());

    // The notice and the button belong to the window itself and lie over the frame.
    Text1 = makeNamedControl<QPlainTextEdit>(this, "Text1", twipsRect(2520, 1680, 4575, 1815));
    Text1->setPlainText(standingNotice());
    Text1->setReadOnly(true);
    // Read-only text still takes the keyboard, so the notice can be scrolled
    // without a mouse; Tab moves on to OK instead of being swallowed.
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setFocusPolicy(Qt::StrongFocus);
    Text1->setTabChangesFocus(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    Command1 = makeNamedControl<QPushButton>(this, "Command1", twipsRect(840, 3120, 1215, 495));
    Command1->setText(QStringLiteral("OK"));
    Command1->setAccessibleName(Command1->text()); // what a screen reader should say
    // Enter must not close the box behind the reader's back.
    Command1->setAutoDefault(false);
    Command1->setDefault(false);
    connect(Command1, &QPushButton::clicked, this, &frmSplash::Command1_Click);

    Frame1->setFocusPolicy(Qt::NoFocus);
    setTabOrder(Text1, Command1);
    Text1->setFocus();

    centreOnScreen(this);
}

void frmSplash::showModal(QWidget* owner)
{
    frmSplash box(owner ? owner->window() : nullptr);
    box.exec();
}

void frmSplash::reject() {}

void frmSplash::Command1_Click()
{
    accept();
}

QString frmSplash::companyProduct()
{
    return QStringLiteral("Umbervault");
}

QString frmSplash::productName()
{
    return QStringLiteral("Delvard");
}

QString frmSplash::copyrightNotice()
{
    return QStringLiteral("Copyright \u00A9 2024 Umbervault");
}

QString frmSplash::standingNotice()
{
    return QStringLiteral(
        "Delvard is a map editor made by a player for players. Its author has no connection "
        "with the makers of the game whose maps it edits.\n"
        "\n"
        "The makers of the game do not support this program; please do not ask them for help "
        "with it.\n"
        "\n"
        "You use Delvard at your own risk. The author is not responsible for any damage its use "
        "may cause to your computer.\n"
        "\n"
        "You may pass Delvard on to others freely, as long as all of its files go with it and "
        "nothing is "
        "charged for it.\n"
        "\n"
        "The file ReadMe.txt explains how to use the program; Help > Read Me shows it.");
}
