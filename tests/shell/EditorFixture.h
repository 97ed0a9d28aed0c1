#pragma once

#include "ModalAnswer.h"
#include "TempFolder.h"
#include "frmMain.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// A main window started the way Main starts it, in a scratch program folder
// whose settings file already names a scratch map folder (so no first-run
// questions), ready to open maps through the real file dialog.
class EditorFixture : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the main window; the settings file is whatever the test left.
    void start();

    // Queues answers for the open dialog (choosing path) and runs File > Open.
    void openThroughDialog(const QString& path);
    // Writes bytes as a map file in the map folder and opens it.
    QString openMapBytes(const std::string& bytes,
                         const QString& name = QStringLiteral("testMap.kld"));

    // Answers the next message box with the given button and returns its text.
    void answerMessage(const QString& button, QString* text);

    QByteArray bytesOf(const QString& path) const { return TempFolder::read(path); }

    TempFolder programFolder;
    TempFolder mapFolder;
    std::unique_ptr<frmMain> window;
};

// Clicks a palette button the way the toolbar reports a person's click.
void clickButton(frmMain& window, int number);
