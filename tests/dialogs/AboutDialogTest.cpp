#include "dialogs/AboutDialog.h"
#include "tests/dialogs/DialogTestHelpers.h"

#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
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

// A frameless box showing the system's texts to a reader as well, and the logo.
TEST(AboutDialog, ShowsItsTextsAndTheLogoWithoutTitleBar)
{
    AboutDialog box(testLogo());
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(accessibleName(&box), u"About Delvard"_s);
    expectAccessibleNames(&box, {{"frame", u"About Delvard"_s},
                                 {"logo", u"Logo"_s},
                                 {"notice", u"Notice"_s},
                                 {"ok", u"OK"_s},
                                 {"companyName", u"Umbervault"_s},
                                 {"productName", u"Delvard"_s},
                                 {"rightsNotice", AboutDialog::rightsNotice()}});
    for (const char* name : {"companyName", "productName", "rightsNotice"})
        EXPECT_EQ(control<QLabel>(&box, name)->text(), accessibleName(control<QLabel>(&box, name)));
    EXPECT_TRUE(control<QPlainTextEdit>(&box, "notice")->toPlainText().contains(u"ReadMe.txt"_s));
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
