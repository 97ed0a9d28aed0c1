#include "EditorFixture.h"

#include "Module1.h"
#include "Toolbar1.h"
#include "ToolbarState.h"

#include <QToolButton>

#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

void EditorFixture::SetUp()
{
    QStandardPaths::setTestModeEnabled(true);
    ModalAnswer::reset();
    Module1::ClearEditorState();
    Module1::OverrideProgramFolder(programFolder.path());
    programFolder.write(QStringLiteral("Delvard.ini"),
                        QStringLiteral("[Paths]\nMap=%1\n").arg(mapFolder.path()).toUtf8());
}

void EditorFixture::TearDown()
{
    EXPECT_EQ(ModalAnswer::pending(), 0) << "a window the test expected never came up";
    ModalAnswer::reset();
    window.reset();
    Module1::OverrideProgramFolder(QString());
}

void EditorFixture::start()
{
    Module1::SetStartupDefaults();
    window = std::make_unique<frmMain>();
    window->MDIForm_Load();
    window->show();
}

void EditorFixture::openThroughDialog(const QString& path)
{
    ModalAnswer::queue(QStringLiteral("QFileDialog"), [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // public as a QDialog
    });
    window->mnuOpen_Click();
}

QString EditorFixture::openMapBytes(const std::string& bytes, const QString& name)
{
    const QString path =
        mapFolder.write(name, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
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

void clickButton(frmMain& window, int number)
{
    ASSERT_TRUE(window.toolbarState().enabled(number)) << "button " << number << " is disabled";
    window.toolbar()->buttonWidget(number)->click();
}
