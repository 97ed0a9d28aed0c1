#include "tests/shell/EditorFixture.h"

#include "mapview/MapView.h"
#include "shell/PaletteToolBar.h"

#include <QScrollBar>

#include <QCoreApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

using namespace delvard;

void EditorFixture::SetUp()
{
    QStandardPaths::setTestModeEnabled(true);
    ModalAnswer::reset();
    programFolder.write(QStringLiteral("Delvard.ini"),
                        QStringLiteral("[Paths]\nMap=%1\n").arg(mapFolder.path()).toUtf8());
}

void EditorFixture::TearDown()
{
    EXPECT_EQ(ModalAnswer::pending(), 0) << "a window the test expected never came up";
    ModalAnswer::reset();
    window.reset();
}

const PictureList& EditorFixture::pictures()
{
    static const PictureList list;
    return list;
}

void EditorFixture::start()
{
    window = std::make_unique<MainWindow>(pictures(), programFolder.path());
    window->start();
    window->show();
}

void EditorFixture::openThroughDialog(const QString& path)
{
    ModalAnswer::queue(QStringLiteral("QFileDialog"), [path](QWidget* modal) {
        EXPECT_TRUE(ModalAnswer::chooseFile(modal, path)) << "the file dialog took no name";
    });
    window->openAction()->trigger();
    // The window lays out the map it shows once its events are handled, as
    // it does before a person can point at anything.
    QCoreApplication::processEvents();
}

QString EditorFixture::openMapBytes(const QByteArray& bytes, const QString& name)
{
    const QString path = mapFolder.write(name, bytes);
    openThroughDialog(path);
    return path;
}

void EditorFixture::answerMessage(const QString& button, QString* text)
{
    ModalAnswer::queue(QStringLiteral("QMessageBox"), [button, text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (text)
            *text = box->text();
        if (!ModalAnswer::pressButton(box, button))
            box->reject();
    });
}

void EditorFixture::press(PaletteButton button)
{
    ASSERT_TRUE(window->palette().isEnabled(button)) << numberOf(button) << " is disabled";
    window->paletteBar()->buttonWidget(button)->click();
}

void EditorFixture::clickCell(delvard::CellPosition cell)
{
    // Scrolled into the middle of the view first, as a person would.
    MapView* view = window->mapView();
    const QRect square = view->cellRect(cell);
    view->horizontalScrollBar()->setValue(square.center().x() - view->viewport()->width() / 2);
    view->verticalScrollBar()->setValue(square.center().y() - view->viewport()->height() / 2);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->cellRectInViewport(cell).center());
}

QByteArray EditorFixture::rockMap(int width, int height)
{
    QByteArray bytes(36, '\x07');
    bytes[20] = static_cast<char>(width);
    bytes[24] = static_cast<char>(height);
    for (int k = 0; k < width * height; ++k)
        bytes += QByteArray::fromRawData("\x02\x02\x33\x44", 4);
    return bytes + "after the records";
}
