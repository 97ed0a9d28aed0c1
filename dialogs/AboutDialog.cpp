#include "dialogs/AboutDialog.h"

#include "delvard/Product.h"
#include "dialogs/ArialFont.h"
#include "dialogs/NamedControl.h"
#include "dialogs/WindowPlacement.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

namespace delvard {

namespace {

// A text label on the frame; its accessible name is its text.
QLabel* addLabel(QWidget* frame, const QRect& geometry, const char* objectName, const QString& text,
                 const QFont& font)
{
    auto* label = addControl<QLabel>(frame, geometry, objectName, text);
    label->setFont(font);
    label->setText(text);
    return label;
}

// The name labels keep their top-left corner and take the size their text
// needs in their font, whatever face stands in for Arial.
void fitToText(QLabel* label)
{
    label->resize(label->sizeHint());
}

} // namespace

AboutDialog::AboutDialog(const QImage& logo, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    const QString title = QStringLiteral("About ") + productName();
    setObjectName(QStringLiteral("aboutDialog"));
    // Without a title bar the accessible name is how the box is told apart.
    setAccessibleName(title);
    setFixedSize(492, 283);

    auto* frame = addControl<QGroupBox>(this, {10, 4, 472, 270}, "frame", title);
    frame->setFocusPolicy(Qt::NoFocus);

    auto* picture = addControl<QLabel>(frame, {24, 16, 121, 159}, "logo", QStringLiteral("Logo"));
    picture->setPixmap(QPixmap::fromImage(logo));
    picture->setScaledContents(true);

    fitToText(addLabel(frame, {157, 16, 0, 0}, "companyName", companyName(), arialFont(18, true)));
    fitToText(
        addLabel(frame, {168, 48, 0, 0}, "productName", productName(), arialFont(32.25, true)));
    addLabel(frame, {216, 240, 193, 17}, "rightsNotice", rightsNotice(), arialFont(8.25, false));

    // The notice and the button belong to the window itself and lie over the frame.
    auto* notice =
        addControl<QPlainTextEdit>(this, {168, 112, 305, 121}, "notice", QStringLiteral("Notice"));
    notice->setPlainText(standingNotice());
    notice->setReadOnly(true);
    // Read-only text still takes the keyboard, so the notice can be scrolled
    // without a mouse; Tab moves on to OK instead of being swallowed.
    notice->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    notice->setFocusPolicy(Qt::StrongFocus);
    notice->setTabChangesFocus(true);
    notice->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    notice->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    const QString okText = QStringLiteral("OK");
    auto* ok = addControl<QPushButton>(this, {56, 208, 81, 33}, "ok", okText);
    ok->setText(okText);
    // Enter must not close the box behind the reader's back.
    ok->setAutoDefault(false);
    ok->setDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(notice, ok);
    notice->setFocus();

    centreOnScreen(this);
}

void AboutDialog::showModal(const QImage& logo, QWidget* owner)
{
    AboutDialog box(logo, owner ? owner->window() : nullptr);
    box.exec();
}

void AboutDialog::reject() {}

QString AboutDialog::companyName()
{
    return QString::fromUtf8(delvard::product::Maker);
}

QString AboutDialog::productName()
{
    return QString::fromUtf8(delvard::product::Title);
}

QString AboutDialog::rightsNotice()
{
    return QString::fromUtf8(delvard::product::Copyright);
}

QString AboutDialog::standingNotice()
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
        "nothing is charged for it.\n"
        "\n"
        "The file ReadMe.txt explains how to use the program; Help > Read Me shows it.");
}

} // namespace delvard
