#include "document/MapDocument.h"
#include "document/NativeFileName.h"
#include "tests/fixtures/StandardEdit.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

using namespace delvard;

namespace {

// The cells a click changes, worked out apart from the program's rule: the
// Heart's 5 x 5 block around the cell, any other terrain the cell alone.
CellArea cellsPaintedBy(const StandardEdit::Click& click)
{
    const int reach = click.terrain == Terrain::Heart ? 2 : 0;
    return {click.cell.row - reach, click.cell.column - reach, click.cell.row + reach,
            click.cell.column + reach};
}

class MapDocumentTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(edit.problem.isEmpty()) << edit.problem.toStdString();
        path = dir.filePath(edit.mapName);
        ASSERT_TRUE(writeFile(edit.original));
        MapDocument::Opened opened = MapDocument::open(path);
        ASSERT_TRUE(opened.document) << opened.problem.toStdString();
        document = std::move(opened.document);
    }
    bool writeFile(const QByteArray& bytes) const
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    QByteArray saved() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    const StandardEdit edit = StandardEdit::load();
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<MapDocument> document;
};

} // namespace

// The standard editing run on the document alone: every click is taken or
// refused as the fixture says, a change is announced once for exactly its
// cells, and the save writes the fixture's bytes (the sample's bytes after
// its last record kept, bytes 2 and 3 of every record 0x01).
TEST_F(MapDocumentTest, PaintsWhatTheRuleAllowsAndSavesByteForByte)
{
    QSignalSpy changed(document.get(), &MapDocument::cellsChanged);
    for (const StandardEdit::Click& click : edit.clicks) {
        SCOPED_TRACE(testing::Message()
                     << "row " << click.cell.row << ", column " << click.cell.column);
        changed.clear();
        const Cell before = document->cellAt(click.cell);
        EXPECT_EQ(document->paint(click.cell, click.terrain, click.owner), !click.refused);
        if (click.refused) {
            EXPECT_EQ(changed.count(), 0);
            EXPECT_EQ(document->cellAt(click.cell), before);
            continue;
        }
        ASSERT_EQ(changed.count(), 1);
        EXPECT_EQ(changed.at(0).at(0).value<CellArea>(), cellsPaintedBy(click));
        EXPECT_EQ(document->cellAt(click.cell).terrain, click.terrain);
        EXPECT_EQ(document->cellAt(click.cell).owner, click.owner);
    }

    ASSERT_TRUE(document->save().ok);
    EXPECT_EQ(saved(), edit.saved);
}

// Save asks before it overwrites what another program left, and refuses what
// is no map file at all: only the bytes Open read count as unchanged, even
// written again with a new time.
TEST_F(MapDocumentTest, OnlyTheFileAsOpenReadItCountsAsUnchanged)
{
    using OnDisk = MapDocument::OnDisk;
    EXPECT_EQ(document->checkFileOnDisk().state, OnDisk::AsLeft);
    const struct
    {
        const char* what;
        std::function<bool()> put;
        OnDisk state;
        const char* problem;
    } cases[] = {
        {"the same bytes again", [this] { return writeFile(edit.original); }, OnDisk::AsLeft, ""},
        {"other bytes", [this] { return writeFile(edit.saved); }, OnDisk::Changed, ""},
        {"a folder", [this] { return QDir().mkdir(path); }, OnDisk::Unreadable,
         "This is a folder, not a map file."},
        {"a named pipe", [this] { return ::mkfifo(QFile::encodeName(path), 0644) == 0; },
         OnDisk::Unreadable, "This is a named pipe, not a map file."},
        {"nothing", [] { return true; }, OnDisk::Vanished, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(QFile::remove(path) || QDir().rmdir(path));
        ASSERT_TRUE(c.put());
        const MapDocument::DiskCheck check = document->checkFileOnDisk();
        EXPECT_EQ(check.state, c.state);
        EXPECT_EQ(check.problem.toStdString(), c.problem);
    }
}

// A copy a stopped save left that holds the map's own bytes lost nothing:
// Open removes it without a word.
TEST_F(MapDocumentTest, OpenRemovesACopyThatHoldsTheMapItself)
{
    const QString copy =
        fromNativePath(inPlaceCopyOf(std::filesystem::canonical(nativePath(path))));
    QFile::copy(path, copy);
    ASSERT_TRUE(QFile::exists(copy));
    const MapDocument::Opened opened = MapDocument::open(path);
    EXPECT_TRUE(opened.document && opened.leftoverCopy.isEmpty());
    EXPECT_FALSE(QFile::exists(copy));
}
