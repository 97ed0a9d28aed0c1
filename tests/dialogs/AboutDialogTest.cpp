#include "AboutDialog.h"
#include "DialogTestHelpers.h"

#include <QFontInfo>
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

// A frameless box in the middle of the screen, whatever window asked for
// it, its texts in Arial or a stand-in with Arial's metrics.
TEST(AboutDialog, ShowsItsTextsAndTheLogoCentredWithoutTitleBar)
{
    AboutDialog box(testLogo());
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(accessibleName(&box), u"About Delvard"_s);
    expectAccessibleNames(&box, {{"frame", u"About Delvard"_s},
                                 {"logo", u"Logo"_s},
                                 {"notice", u"Notice"_s},
                                 {"ok", u"OK"_s}});
    const QPoint offCentre =
        box.frameGeometry().center() - box.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);

    const std::pair<const char*, QString> labels[] = {
        {"companyName", u"Umbervault"_s},
        {"productName", u"Delvard"_s},
        {"rightsNotice", AboutDialog::rightsNotice()}};
    for (const auto& [name, text] : labels) {
        auto* label = control<QLabel>(&box, name);
        EXPECT_EQ(label->text(), text);
        EXPECT_EQ(accessibleName(label), text);
        EXPECT_NE(QFontInfo(label->font()).family(), u"DejaVu Sans"_s) << name;
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
