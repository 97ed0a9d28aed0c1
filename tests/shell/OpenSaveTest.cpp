#include "EditorFixture.h"
#include "MapBytes.h"
#include "Module1.h"
#include "frmMap.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QProcess>
#include <QScrollArea>
#include <QSortFilterProxyModel>
#include <QTest>

namespace {

// A W x H map whose records run through the terrain and owner tables, with
// bytes 2 and 3 not 0x01 so that a save visibly rewrites them.
std::string sampleMap(int width, int height, std::string trailing = {})
{
    static const std::uint8_t codes[] = {0x0E, 0x0C, 0x0A, 0x1A, 0x08,
                                         0x01, 0x07, 0x1C, 0x23, 0x1E};
    std::string bytes = mapBytes(width, height);
    for (int k = 0; k < width * height; ++k) {
        bytes.push_back(static_cast<char>(codes[k % 10]));
        bytes.push_back(static_cast<char>(1 + k % 7));
        bytes.push_back('\x00');
        bytes.push_back('\x5A');
    }
    return bytes + trailing;
}

// The bytes a save must write for a map opened and saved without edits.
QByteArray savedUnchanged(const std::string& original, int cells)
{
    QByteArray expected(original.data(), static_cast<qsizetype>(original.size()));
    for (int k = 0; k < cells; ++k) {
        expected[36 + 4 * k + 2] = 0x01;
        expected[36 + 4 * k + 3] = 0x01;
    }
    return expected;
}

bool chattr(const QString& flag, const QString& path)
{
    return QProcess::execute(QStringLiteral("chattr"), {flag, path}) == 0;
}

} // namespace

using OpenSave = EditorFixture;

TEST_F(OpenSave, OpeningShowsTheMapAndSwitchesOpenOff)
{
    start();
    const QString path = openMapBytes(sampleMap(10, 8));
    ASSERT_TRUE(window->map());
    EXPECT_EQ(Module1::MapFilePath, path);
    EXPECT_EQ(Module1::MapWidth, 10);
    EXPECT_EQ(Module1::MapHeight, 8);
    EXPECT_EQ(Module1::MapPixelWidth, 12960);
    EXPECT_EQ(Module1::MapPixelHeight, 10800);
    EXPECT_EQ(window->map()->elementCount(), 80);
    EXPECT_EQ(window->mapArea()->widget(), window->map());
    EXPECT_FALSE(window->mnuOpen->isEnabled());
    EXPECT_TRUE(window->mnuSave->isEnabled());
    EXPECT_EQ(window->map()->size(), QSize(12 * 72, 10 * 72));
}

TEST_F(OpenSave, TheDialogStartsInTheMapFolderAndListsMapFilesInAnyCase)
{
    for (const char* name : {"aMap.kld", "bmap.kld", "cMAP.KLD", "notes.txt", "dMap.kld.bak"})
        mapFolder.write(QLatin1String(name), QByteArrayLiteral("x"));
    start();
    QStringList listed;
    QString startFolder;
    ModalAnswer::queue(QStringLiteral("QFileDialog"), [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        startFolder = dialog->directory().absolutePath();
        auto* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
        auto* model = view ? view->model() : nullptr;
        // The folder is read in the background: wait until it has been listed.
        (void)QTest::qWaitFor([&] { return model && model->rowCount(view->rootIndex()) >= 3; },
                              3000);
        for (int row = 0; model && row < model->rowCount(view->rootIndex()); ++row)
            listed << model->index(row, 0, view->rootIndex()).data().toString();
        dialog->reject();
    });
    window->mnuOpen_Click();
    EXPECT_EQ(QDir(startFolder), QDir(mapFolder.path()));
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("aMap.kld"), QStringLiteral("bmap.kld"),
                                   QStringLiteral("cMAP.KLD")}));
}

TEST_F(OpenSave, CancellingTheDialogChangesNothing)
{
    start();
    ModalAnswer::queue(QStringLiteral("QFileDialog"),
                       [](QWidget* modal) { qobject_cast<QFileDialog*>(modal)->reject(); });
    window->mnuOpen_Click();
    EXPECT_FALSE(window->map());
    EXPECT_TRUE(window->mnuOpen->isEnabled());
    EXPECT_EQ(QDir(Module1::MapFolder), QDir(mapFolder.path()));
}

TEST_F(OpenSave, BadFilesAreReportedByNameAndLeaveOpenUsable)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"shortMap.kld", std::string(20, 'x'), "too short"},
        {"truncMap.kld", sampleMap(10, 8).substr(0, 36 + 4 * 50 + 2), "800"},
        {"emptyMap.kld", std::string(), "0 bytes"},
        {"zeroMap.kld", mapBytes(0, 9), "1 cell records were expected"},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString message;
        answerMessage(QStringLiteral("OK"), &message);
        const QString path = openMapBytes(c.bytes, QLatin1String(c.name));
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
        EXPECT_TRUE(
            message.contains(QLatin1String(c.reason), Qt::CaseInsensitive) ||
            (std::string(c.reason) == "800" && message.contains(QStringLiteral("80 cell records"))))
            << message.toStdString();
        EXPECT_FALSE(window->map());
        EXPECT_TRUE(window->mnuOpen->isEnabled());
        EXPECT_EQ(Module1::MapWidth, 0);
        EXPECT_EQ(bytesOf(path).size(), static_cast<qsizetype>(c.bytes.size()));
    }
}

TEST_F(OpenSave, AFileThatVanishedAfterTheDialogIsReportedAndNotCreated)
{
    start();
    const QString gone = mapFolder.file(QStringLiteral("goneMap.kld"));
    mapFolder.write(QStringLiteral("goneMap.kld"), QByteArrayLiteral("x"));
    QString message;
    answerMessage(QStringLiteral("OK"), &message);
    ModalAnswer::queue(QStringLiteral("QFileDialog"), [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        dialog->selectFile(gone);
        static_cast<QDialog*>(dialog)->accept(); // public as a QDialog
        QFile::remove(gone);                     // deleted between the dialog and the read
    });
    window->mnuOpen_Click();
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(gone))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("does not exist"))) << message.toStdString();
    EXPECT_FALSE(QFile::exists(gone));
    EXPECT_FALSE(window->map());
}

TEST_F(OpenSave, SavingWithoutEditsRewritesOnlyBytesTwoAndThreeAndKeepsTrailingBytes)
{
    start();
    const std::string original = sampleMap(12, 9, "TRAILING-BYTES");
    const QString path = openMapBytes(original);
    ASSERT_TRUE(window->map());
    EXPECT_EQ(Module1::MapBody.view(), "TRAILING-BYTES");
    window->mnuSave_Click();
    EXPECT_FALSE(window->mnuSave->isEnabled());
    EXPECT_EQ(bytesOf(path), savedUnchanged(original, 12 * 9));
}

TEST_F(OpenSave, CodesNoTableKnowsAreWrittenBackAsTheFileHeldThem)
{
    std::string original = sampleMap(5, 4);
    original[36 + 0] = '\x3F';         // first record, unknown terrain
    original[36 + 1] = '\x09';         // and unknown owner
    original[36 + 4 * 7] = '\x00';     // a later unknown terrain
    original[36 + 4 * 9 + 1] = '\xEE'; // a later unknown owner
    start();
    const QString path = openMapBytes(original);
    ASSERT_TRUE(window->map());
    EXPECT_EQ(Module1::CellCodes[1][1][1], "0");
    EXPECT_EQ(Module1::CellCodes[1][1][2], "-35");
    window->mnuSave_Click();
    EXPECT_EQ(bytesOf(path), savedUnchanged(original, 20));
}

TEST_F(OpenSave, SaveBeforeAnyMapWritesNothingAndDisablesItself)
{
    start();
    window->mnuSave_Click();
    EXPECT_FALSE(window->mnuSave->isEnabled());
    const QString path = openMapBytes(sampleMap(3, 3));
    EXPECT_FALSE(window->mnuSave->isEnabled());
    EXPECT_EQ(bytesOf(path).size(), 36 + 36);
}

TEST_F(OpenSave, AReadOnlyMapIsReportedWithRetryAndLeftWhole)
{
    start();
    const std::string original = sampleMap(8, 8);
    const QString path = openMapBytes(original);
    ASSERT_TRUE(window->map());
    if (!chattr(QStringLiteral("+i"), path))
        GTEST_SKIP() << "chattr +i does not work here";

    Module1::CurrentTerrain = 2;
    window->map()->Image1_Click(8 + 1); // row 2, column 2: "Portal"
    QString first;
    QString second;
    answerMessage(QStringLiteral("Retry"), &first);
    // The person makes the file writable and retries.
    ModalAnswer::queue(QStringLiteral("QMessageBox"), [&](QWidget* modal) {
        second = qobject_cast<QMessageBox*>(modal)->text();
        chattr(QStringLiteral("-i"), path);
        ModalAnswer::pressButton(modal, QStringLiteral("Retry"));
    });
    window->mnuSave_Click();
    chattr(QStringLiteral("-i"), path);
    EXPECT_TRUE(first.contains(QDir::toNativeSeparators(path))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("read-only"))) << first.toStdString();
    EXPECT_EQ(first, second);
    const QByteArray saved = bytesOf(path);
    EXPECT_EQ(saved[36 + 4 * 9], '\x0C'); // "Portal" reached the file on the retry
    EXPECT_EQ(Module1::CellCodes[2][2][1], "2");
}

TEST_F(OpenSave, ACancelledFailedSaveKeepsFileAndMap)
{
    start();
    const std::string original = sampleMap(6, 6);
    const QString path = openMapBytes(original);
    ASSERT_TRUE(window->map());
    Module1::CurrentTerrain = 5;
    window->map()->Image1_Click(6 * 2 + 2);
    QFile::remove(path);
    QDir(mapFolder.path()).mkdir(QStringLiteral("testMap.kld")); // replaced by a folder
    QString message;
    answerMessage(QStringLiteral("Cancel"), &message);
    window->mnuSave_Click();
    EXPECT_TRUE(message.contains(QStringLiteral("folder"))) << message.toStdString();
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(Module1::CellCodes[3][3][1], "5");
    EXPECT_FALSE(window->mnuSave->isEnabled());
}
