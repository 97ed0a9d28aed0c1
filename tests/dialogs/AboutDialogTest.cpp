#include "AboutDialog.h"
#include "DialogTestHelpers.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

using namespace delvard;

using namespace Qt::StringLiterals;

namespace {

QImage testLogo()
{
    QImage logo(8, 8, QImage::Format_RGB32);
    logo.fill(Qt::darkRed);
    return logo;
}

TEST(AboutDialog, LaysOutEveryControlOnAFixedWindowWithoutTitleBar)
{
    AboutDialog box(testLogo());
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(box.minimumSize(), QSize(492, 283));
    EXPECT_EQ(box.maximumSize(), QSize(492, 283));
    EXPECT_EQ(accessibleName(&box), u"About Delvard"_s);
    expectLayout(&box, {{"frame", u"About Delvard"_s, {10, 4, 472, 270}},
                        {"logo", u"Logo"_s, {24, 16, 121, 159}},
                        {"companyName", u"Umbervault"_s, {157, 16, 0, 0}},
                        {"productName", u"Delvard"_s, {168, 48, 0, 0}},
                        {"rightsNotice", AboutDialog::rightsNotice(), {216, 240, 193, 17}},
                        {"notice", u"Notice"_s, {168, 112, 305, 121}},
                        {"ok", u"OK"_s, {56, 208, 81, 33}}});
    // The frame holds the logo and the labels; the notice and OK lie over it.
    EXPECT_EQ(control<QWidget>(&box, "logo")->parentWidget(), control<QGroupBox>(&box, "frame"));
    EXPECT_EQ(control<QWidget>(&box, "notice")->parentWidget(), &box);
    // It opens in the middle of the screen, whatever window asked for it.
    const QPoint offCentre =
        box.frameGeometry().center() - box.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);
}

TEST(AboutDialog, ShowsItsTextsAndTheLogoInTheirFaces)
{
    AboutDialog box(testLogo());
    const struct
    {
        const char* name;
        QString text;
        qreal pointSize;
        bool bold;
    } labels[] = {{"companyName", u"Umbervault"_s, 18, true},
                  {"productName", u"Delvard"_s, 32.25, true},
                  {"rightsNotice", AboutDialog::rightsNotice(), 8.25, false}};
    for (const auto& expected : labels) {
        SCOPED_TRACE(expected.name);
        auto* label = control<QLabel>(&box, expected.name);
        EXPECT_EQ(label->text(), expected.text);
        EXPECT_EQ(label->font().families().value(0), u"Arial"_s);
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), expected.pointSize);
        EXPECT_EQ(label->font().bold(), expected.bold);
        // Where Arial is missing, the stand-in shares its metrics.
        EXPECT_NE(QFontInfo(label->font()).family(), u"DejaVu Sans"_s);
    }
    const QStringList paragraphs =
        control<QPlainTextEdit>(&box, "notice")->toPlainText().split(u"\n\n"_s);
    EXPECT_EQ(paragraphs.size(), 5);
    EXPECT_TRUE(paragraphs.last().contains(u"ReadMe.txt"_s));
    auto* logo = control<QLabel>(&box, "logo");
    EXPECT_TRUE(logo->hasScaledContents());
    EXPECT_EQ(logo->pixmap().toImage().pixelColor(4, 4), QColor(Qt::darkRed));
}

TEST(AboutDialog, NoticeTakesTheKeyboardButOnlyOkClosesTheBox)
{
    AboutDialog box(testLogo());
    box.show();
    auto* notice = control<QPlainTextEdit>(&box, "notice");
    auto* ok = control<QPushButton>(&box, "ok");
    EXPECT_EQ(box.focusWidget(), notice);
    const QString text = notice->toPlainText();
    QTest::keyClicks(notice, u"xyz"_s);
    QTest::keyClick(notice, Qt::Key_Backspace);
    EXPECT_EQ(notice->toPlainText(), text) << "the notice cannot be edited";
    EXPECT_TRUE(notice->verticalScrollBar()->isVisible());
    QTest::keyClick(notice, Qt::Key_End, Qt::ControlModifier);
    EXPECT_GT(notice->verticalScrollBar()->value(), 0) << "the keyboard scrolls the notice";

    QTest::keyClick(notice, Qt::Key_Tab);
    EXPECT_EQ(box.focusWidget(), ok);
    QTest::keyClick(ok, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_FALSE(box.close());
    EXPECT_TRUE(box.isVisible());
    ok->click();
    EXPECT_FALSE(box.isVisible());
}

} // namespace
