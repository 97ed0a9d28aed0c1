#include "ByteQueue.h"
#include "CellText.h"
#include "Module1.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

TEST(EditorState, ClearedStateHoldsNoMap)
{
    Module1::CellCodes[3][4][1] = "12";
    Module1::MapWidth = 9;
    Module1::MapHeader = "x";
    Module1::ClearEditorState();
    EXPECT_EQ(Module1::MapWidth, 0);
    EXPECT_EQ(Module1::MapHeight, 0);
    EXPECT_TRUE(Module1::MapHeader.empty());
    EXPECT_TRUE(Module1::MapFilePath.isEmpty());
    EXPECT_TRUE(Module1::CellCodes[3][4][1].empty());
    EXPECT_EQ(Module1::CellSize, 1080);
    EXPECT_EQ(Module1::CurrentTerrain, 1);
    EXPECT_EQ(Module1::CurrentOwner, 1);
    EXPECT_TRUE(Module1::GridShown);
    EXPECT_FALSE(Module1::ChooseFolderMode);
}

TEST(EditorState, MapFolderDefaultsToTheProgramsFolderWithoutTrailingSeparator)
{
    Module1::ClearEditorState();
    Module1::MapFolder.clear();
    Module1::SetStartupDefaults();
    EXPECT_EQ(Module1::MapFolder, QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    EXPECT_FALSE(Module1::MapFolder.endsWith(QDir::separator()));
}

TEST(EditorState, CellCodesReachEveryCellAHeaderCanAddress)
{
    // Rows and columns up to 255 come from one header byte each.
    Module1::CellCodes[255][255][2] = "7";
    EXPECT_EQ(Module1::CellCodes[255][255][2].toInt(), 7);
    EXPECT_EQ(std::size(Module1::CellCodes), 401u);
    EXPECT_EQ(std::size(Module1::CellCodes[0]), 401u);
    Module1::ClearEditorState();
}

TEST(CellText, HoldsTheDecimalTextsOfTheTables)
{
    for (int value : {0, 1, 9, 35, -35, 7}) {
        CellText text(decimalText(value));
        EXPECT_EQ(text.view(), decimalText(value));
        EXPECT_EQ(text.toInt(), value);
    }
    EXPECT_TRUE(CellText().empty());
    EXPECT_EQ(CellText().toInt(), 0);
}

TEST(ByteQueue, TakesFromTheFrontWithoutReadingPastTheEnd)
{
    ByteQueue queue(std::string("abcdefghij"));
    EXPECT_EQ(queue.takeFront(4), "abcd");
    EXPECT_EQ(queue.takeFront(4), "efgh");
    EXPECT_EQ(queue.view(), "ij");
    EXPECT_EQ(queue.takeFront(4), "ij");
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(queue.takeFront(4), "");
}
