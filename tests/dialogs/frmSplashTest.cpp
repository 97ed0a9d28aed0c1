#include "frmSplash.h"
#include "DialogTestHelpers.h"
#include "ModalAnswer.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

namespace {

class SplashGeometry : public ::testing::TestWithParam<ControlGeometry>
{
};

TEST_P(SplashGeometry, ControlSitsWhereTheLayoutPutsIt)
{
    frmSplash box;
    const ControlGeometry row = GetParam();
    QWidget* widget = control<QWidget>(&box, row.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), row.pixels);
}

// Twips / 15; the frame's children are placed within the frame.
INSTANTIATE_TEST_SUITE_P(AboutBox, SplashGeometry,
                         ::testing::Values(ControlGeometry{"Frame1", {10, 4, 472, 270}},
                                           ControlGeometry{"imgLogo", {24, 16, 121, 159}},
                                           ControlGeometry{"lblCopyright", {216, 240, 193, 17}},
                                           ControlGeometry{"Text1", {168, 112, 305, 121}},
                                           ControlGeometry{"Command1", {56, 208, 81, 33}}));

TEST(AboutBox, WindowHasNoTitleBarAndAFixedSize)
{
    frmSplash box;
    EXPECT_EQ(box.windowType(), Qt::Dialog);
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(box.minimumSize(), QSize(492, 283));
    EXPECT_EQ(box.maximumSize(), QSize(492, 283));
    EXPECT_TRUE(box.windowTitle().isEmpty());
}

TEST(AboutBox, FrameAndLabelsHoldTheirTexts)
{
    frmSplash box;
    auto* frame = control<QGroupBox>(&box, "Frame1");
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->title().isEmpty());
    for (const char* name : {"imgLogo", "lblCompanyProduct", "lblProductName", "lblCopyright"})
        EXPECT_EQ(box.findChild<QWidget*>(QLatin1String(name))->parentWidget(), frame) << name;

    EXPECT_EQ(control<QLabel>(&box, "lblCompanyProduct")->text(), QStringLiteral("Umbervault"));
    EXPECT_EQ(control<QLabel>(&box, "lblProductName")->text(), QStringLiteral("Delvard"));
    EXPECT_EQ(control<QPushButton>(&box, "Command1")->text(), QStringLiteral("OK"));

    auto* logo = control<QLabel>(&box, "imgLogo");
    EXPECT_TRUE(logo->hasScaledContents());
    EXPECT_FALSE(logo->pixmap().isNull());
}

struct LabelFont
{
    const char* name;
    qreal pointSize;
    bool bold;
};

class SplashFonts : public ::testing::TestWithParam<LabelFont>
{
};

TEST_P(SplashFonts, LabelUsesArialOrAMetricTwin)
{
    frmSplash box;
    const LabelFont row = GetParam();
    auto* label = control<QLabel>(&box, row.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->font().families().value(0), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), row.pointSize);
    EXPECT_EQ(label->font().bold(), row.bold);
    // Where Arial is missing the substitute must be one with Arial's metrics,
    // not whatever the system's default sans face happens to be.
    const QString resolved = QFontInfo(label->font()).family();
    EXPECT_TRUE(resolved == QStringLiteral("Arial") ||
                resolved == QStringLiteral("Liberation Sans") ||
                resolved == QStringLiteral("Arimo"))
        << resolved.toStdString();
}

INSTANTIATE_TEST_SUITE_P(AboutBox, SplashFonts,
                         ::testing::Values(LabelFont{"lblCompanyProduct", 18, true},
                                           LabelFont{"lblProductName", 32.25, true},
                                           LabelFont{"lblCopyright", 8.25, false}));

TEST(AboutBox, NameLabelsKeepTheirCornerAndFitTheirText)
{
    frmSplash box;
    const struct
    {
        const char* name;
        QPoint corner;
    } labels[] = {{"lblCompanyProduct", {157, 16}}, {"lblProductName", {168, 48}}};
    for (const auto& expected : labels) {
        auto* label = control<QLabel>(&box, expected.name);
        EXPECT_EQ(label->pos(), expected.corner) << expected.name;
        const QSize textSize = QFontMetrics(label->font()).size(0, label->text());
        EXPECT_GE(label->width(), textSize.width()) << expected.name;
        EXPECT_GE(label->height(), textSize.height()) << expected.name;
        EXPECT_EQ(label->size(), label->sizeHint()) << expected.name;
    }
}

TEST(AboutBox, RightsNoticeNamesAYearAndFitsOnItsLine)
{
    frmSplash box;
    auto* copyright = control<QLabel>(&box, "lblCopyright");
    EXPECT_TRUE(
        copyright->text().contains(QRegularExpression(QStringLiteral("\\b(19|20)\\d\\d\\b"))));
    EXPECT_FALSE(copyright->text().contains(QLatin1Char('\n')));
    EXPECT_FALSE(copyright->wordWrap());
    EXPECT_LE(QFontMetrics(copyright->font()).horizontalAdvance(copyright->text()),
              copyright->width());
}

TEST(AboutBox, NoticeHasFiveShortParagraphs)
{
    frmSplash box;
    const QString notice = control<QPlainTextEdit>(&box, "Text1")->toPlainText();
    EXPECT_GE(notice.size(), 450);
    EXPECT_LE(notice.size(), 650);
    const QStringList paragraphs = notice.split(QStringLiteral("\n\n"));
    ASSERT_EQ(paragraphs.size(), 5);
    for (const QString& paragraph : paragraphs) {
        EXPECT_FALSE(paragraph.trimmed().isEmpty());
        EXPECT_FALSE(paragraph.contains(QLatin1Char('\n')));
    }
    EXPECT_TRUE(paragraphs.last().contains(QStringLiteral("ReadMe.txt")));
}

TEST(AboutBox, NoticeScrollsButCannotBeEdited)
{
    frmSplash box;
    box.show();
    auto* notice = control<QPlainTextEdit>(&box, "Text1");
    const QString before = notice->toPlainText();
    EXPECT_TRUE(notice->isReadOnly());
    EXPECT_EQ(notice->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    ASSERT_GT(notice->verticalScrollBar()->maximum(), 0) << "the notice should need scrolling";

    QTest::keyClicks(notice, QStringLiteral("xyz"));
    QTest::keyClick(notice, Qt::Key_Backspace);
    QTest::keyClick(notice, Qt::Key_Delete);
    QTest::keyClick(notice, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(notice->toPlainText(), before);

    EXPECT_EQ(notice->verticalScrollBar()->value(), 0);
    QTest::keyClick(notice, Qt::Key_End, Qt::ControlModifier);
    EXPECT_GT(notice->verticalScrollBar()->value(), 0) << "the keyboard scrolls the notice";
}

TEST(AboutBox, NoticeHasTheFocusAndTabLeadsToOk)
{
    frmSplash box;
    box.show();
    auto* notice = control<QPlainTextEdit>(&box, "Text1");
    auto* ok = control<QPushButton>(&box, "Command1");
    EXPECT_EQ(box.focusWidget(), notice);
    QTest::keyClick(notice, Qt::Key_Tab);
    EXPECT_EQ(box.focusWidget(), ok);
}

TEST(AboutBox, NeitherEnterNorEscapeClosesIt)
{
    frmSplash box;
    box.show();
    auto* ok = control<QPushButton>(&box, "Command1");
    EXPECT_FALSE(ok->isDefault());
    EXPECT_FALSE(ok->autoDefault());

    QTest::keyClick(control<QPlainTextEdit>(&box, "Text1"), Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Enter);
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible());

    ok->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBox, ShowsModallyOverItsOwnerUntilOk)
{
    ModalAnswer::reset();
    QWidget owner;
    owner.show();
    QWidget* seenParent = nullptr;
    bool wasModal = false;
    ModalAnswer::queue(QStringLiteral("frmSplash"), [&](QWidget* modal) {
        seenParent = modal->parentWidget();
        wasModal = modal->isModal() && QApplication::activeModalWidget() == modal;
        EXPECT_TRUE(ModalAnswer::pressButton(modal, QStringLiteral("OK")));
    });

    frmSplash::showModal(&owner);

    EXPECT_EQ(ModalAnswer::pending(), 0);
    EXPECT_EQ(seenParent, &owner);
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(owner.findChildren<frmSplash*>().isEmpty()) << "each showing is its own window";
}

} // namespace
