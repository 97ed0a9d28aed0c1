#pragma once

#include "document/FileReader.h"
#include "document/FileWriter.h"
#include "document/MapFormat.h"
#include "document/PaintRule.h"

#include <QObject>
#include <QString>

#include <memory>

namespace delvard {

// How a save went: the problem is for the user, without the file's name.
struct SaveResult
{
    bool ok = false;
    QString problem;
    // Nothing was written because no safety copy could be kept: the user
    // may still choose to save without one.
    bool noSafetyCopy = false;
};

// An open map: its file's path, header, cells and the bytes after the last
// record. It is the only place where cells change, and it announces every
// change as a rectangle of cells.
class MapDocument : public QObject
{
    Q_OBJECT

  public:
    // A document, or why the file gives none (a sentence for the user,
    // without the file's name).
    struct Opened
    {
        std::unique_ptr<MapDocument> document;
        QString problem;
        // A copy of the map that a save writing in place left when it was
        // stopped, holding the map as it was before; empty if none. A copy
        // that holds the file's own bytes is removed instead.
        QString leftoverCopy;
        // What that copy holds and when it was written, as a sentence.
        QString leftoverCopyHolds;
    };
    // Reads and decodes a map file. A file that is not a whole map gives no
    // document, so a bad file never half-replaces an open map.
    static Opened open(const QString& path);

    // stamp: what the file held when map was read from it.
    MapDocument(QString path, MapData map, FileStamp stamp = {}, QObject* parent = nullptr);

    const QString& path() const { return path_; }
    int width() const { return map_.width; }
    int height() const { return map_.height; }
    const MapData& data() const { return map_; }
    const Cell& cellAt(CellPosition cell) const { return map_.at(cell); }

    // What a click with terrain on the cell would change.
    PaintArea paintArea(CellPosition cell, Terrain terrain) const;
    // A click with the tools on the cell: the cell, or the Heart's block,
    // takes the terrain and the owner. False, changing nothing, when the
    // click is refused.
    bool paint(CellPosition cell, Terrain terrain, Owner owner);

    // The bytes Save writes: the header and the bytes after the last record
    // as Open read them, every cell's record as it is now.
    QByteArray bytesToSave() const;

    // Whether the file still holds the bytes Open read (or the last save
    // wrote), so that a save overwrites nothing another program put there.
    // Only the bytes count: a new time stamp on the same bytes is AsLeft.
    enum class OnDisk { AsLeft, Changed, Vanished, Unreadable };
    struct DiskCheck
    {
        OnDisk state = OnDisk::AsLeft;
        QString problem; // why it cannot be read, when Unreadable
    };
    DiskCheck checkFileOnDisk() const;

    // Replaces the file's content with bytesToSave(), whatever it now holds
    // (a file that vanished is made again).
    SaveResult save(FileOutput::SafetyCopy safetyCopy = FileOutput::SafetyCopy::Required);

  signals:
    void cellsChanged(const delvard::CellArea& cells);

  private:
    QString path_;
    MapData map_;
    FileStamp onDisk_;
};

} // namespace delvard
