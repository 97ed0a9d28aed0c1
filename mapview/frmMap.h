#pragma once

#include "PictureElement.h"
#include "ViewCommands.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class ToolbarState;
class TileCache;

// The map window: one square per cell, the owner picture (Image2) behind
// the terrain picture (Image1). The two element arrays are kept as data,
// numbered row by row from 0; one widget paints them, only where exposed.
class frmMap : public QWidget, public ViewCommands
{
    Q_OBJECT

  public:
    // toolbar: the palette's buttons, which the load puts into their working
    // state and the zoom steps enable and disable. disableOpen: switches the
    // main window's File > Open off.
    frmMap(ToolbarState& toolbar, std::function<void()> disableOpen, QWidget* parent = nullptr);
    ~frmMap() override;

    // Decoder state: the pictures of the record decoded last.
    int TerrainPictureIndex = 0;
    int OwnerPictureIndex = 0;

    // Takes the next record off the front of MapBody and decodes it.
    void GetImage();

    // Builds every cell from MapBody and fills CellCodes. Expects
    // Module1::MapBody to hold at least one record per cell (the open
    // command checks the file first).
    void Form_Load();

    const PictureElement& Image1(int index) const
    {
        return image1_[static_cast<std::size_t>(index)];
    }
    const PictureElement& Image2(int index) const
    {
        return image2_[static_cast<std::size_t>(index)];
    }
    int elementCount() const { return static_cast<int>(image1_.size()); }

    // Zoom and grid.
    void ZoomIn() override;
    void ZoomOut() override;
    void GridOn() override;
    void GridOff() override;

    // A click on the terrain picture of element index.
    void Image1_Click(int index);

    // Element under a point of the widget (logical pixels), or -1.
    int elementAt(QPoint position) const;
    // The square of element index in logical pixels.
    QRect elementRect(int index) const;

    // Cells a click on element index would change (1 or 25), or none when the
    // click would be refused; the hover outline shows this. For a refused
    // click the rows and columns are those the click aimed at (the cell, or
    // the Heart's block cut to the map), so the outline shows why; all 0 for
    // an index that is no cell of a map.
    struct ClickPreview
    {
        bool accepted = false;
        int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
    };
    ClickPreview previewClick(int index) const;

    // The area the hover outline covers now, in logical pixels (empty: none).
    QRect hoverOutlineRect() const { return outline_; }
    bool hoverOutlineAccepted() const { return outlineAccepted_; }

  signals:
    // The element under the pointer changed (-1: none).
    void hoveredElementChanged(int index);
    // Cells were repainted by a click.
    void cellsChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // The cells laid out as a grid: false only for the single cell of a map
    // whose width or height byte is 0.
    bool hasGrid() const;
    int cellPixels() const;
    void reLayGrid();
    void setBorders(int borderStyle);
    void setPictures(int index, int terrainPicture, int ownerPicture);
    QRect blockRect(int firstRow, int lastRow, int firstColumn, int lastColumn) const;
    void showHoverOutline(int index);

    ToolbarState& toolbar_;
    std::function<void()> disableOpen_;
    std::vector<PictureElement> image1_;
    std::vector<PictureElement> image2_;
    std::unique_ptr<TileCache> tiles_;
    int hovered_ = -1;
    QRect outline_;
    bool outlineAccepted_ = false;
    std::size_t recordsDecoded_ = 0;  // element number of the next GetImage
    std::size_t foreignCapacity_ = 0; // cells ForeignCellCodes was sized for
};
