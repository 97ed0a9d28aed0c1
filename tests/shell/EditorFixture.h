#pragma once

#include "resources/PictureList.h"
#include "shell/MainWindow.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

// A main window started as main() starts it, from a scratch program folder
// whose settings file names a scratch map folder (so no first-run
// questions), ready to open maps through the real file dialog.
class EditorFixture : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes and starts the main window; the settings file is whatever the test left.
    void start();
    // Answers the open dialog with path and runs File > Open.
    void openThroughDialog(const QString& path);
    // Writes bytes as a map file in the map folder and opens it.
    QString openMapBytes(const QByteArray& bytes,
                         const QString& name = QStringLiteral("testMap.kld"));
    // Answers the next message box with a button; its text goes to text.
    void answerMessage(const QString& button, QString* text = nullptr);
    // A person's click on a palette button.
    void press(delvard::PaletteButton button);
    void clickCell(delvard::CellPosition cell);

    static const delvard::PictureList& pictures();
    // A width x height map of neutral Rock whose record bytes 2 and 3 are
    // not 0x01, followed by bytes after the last record.
    static QByteArray rockMap(int width, int height);

    TempFolder programFolder;
    TempFolder mapFolder;
    std::unique_ptr<delvard::MainWindow> window;
};
