#include "frmMap.h"

#include "ImageList.h"
#include "MapCodec.h"
#include "Module1.h"
#include "TileCache.h"
#include "ToolbarState.h"
#include "Twips.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <array>

namespace {

constexpr int ZoomStep = 120;
constexpr int LargestCellSize = 1080;
constexpr int SmallestCellSize = 360;
constexpr int OwnerPictureBase = 35; // owner code o has picture 35 + o

// Every text the load and the clicks write is a number from -35 (an owner
// code that the first record left unknown) to 35; a table of them keeps
// number formatting out of the per-cell loop of a 65,025-cell load.
constexpr int SmallestText = -OwnerPictureBase;
constexpr int LargestText = 99;

CellText numberText(int value)
{
    static const auto texts = [] {
        std::array<CellText, LargestText - SmallestText + 1> table;
        for (int v = SmallestText; v <= LargestText; ++v)
            table[static_cast<std::size_t>(v - SmallestText)] = decimalText(v);
        return table;
    }();
    if (value < SmallestText || value > LargestText)
        return CellText(decimalText(value));
    return texts[static_cast<std::size_t>(value - SmallestText)];
}

QScrollArea* enclosingScrollArea(const QWidget* widget)
{
    for (QWidget* w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w))
            return area;
    }
    return nullptr;
}

const QColor AcceptedOutline(0, 255, 255);
const QColor RefusedOutline(255, 0, 0);
const QColor RefusedWash(255, 0, 0, 80);

} // namespace

frmMap::frmMap(ToolbarState& toolbar, std::function<void()> disableOpen, QWidget* parent)
    : QWidget(parent), toolbar_(toolbar), disableOpen_(std::move(disableOpen)),
      tiles_(std::make_unique<TileCache>(ImageList::instance()))
{
    // paintEvent covers every exposed pixel itself (cells and black margin),
    // so Qt need not clear the area first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setMouseTracking(true);
}

frmMap::~frmMap() = default;

void frmMap::GetImage()
{
    const std::string_view record = Module1::MapBody.takeFront(delvard::RecordSize);
    const std::size_t element = recordsDecoded_++;
    // The open command refuses short files; should the body still run out,
    // the cell repeats the one before, as an unknown code would.
    if (record.size() < delvard::RecordSize)
        return;
    delvard::RecordDecoder decoder{TerrainPictureIndex, OwnerPictureIndex};
    const auto outcome = decoder.decode(record);
    TerrainPictureIndex = decoder.TerrainPictureIndex;
    OwnerPictureIndex = decoder.OwnerPictureIndex;
    if (element < foreignCapacity_)
        Module1::ForeignCellCodes.note(element, record, outcome);
}

void frmMap::Form_Load()
{
    using namespace Module1;

    if (disableOpen_)
        disableOpen_();

    setFixedSize(twipsToPixels(MapPixelWidth), twipsToPixels(MapPixelHeight));

    const std::size_t cells = delvard::recordsToDecode(MapWidth, MapHeight);
    ForeignCellCodes.reset(cells);
    foreignCapacity_ = cells;
    recordsDecoded_ = 0;
    image1_.clear();
    image2_.clear();
    image1_.reserve(cells);
    image2_.reserve(cells);

    // Element 0 as designed: row 1, column 1 at the start-up cell size; the
    // terrain picture carries the grid border, the owner picture none.
    PictureElement terrain0;
    terrain0.borderStyle = 1;
    terrain0.visible = true;
    PictureElement owner0;
    owner0.visible = true;
    image1_.push_back(terrain0);
    image2_.push_back(owner0);

    GetImage();
    CellCodes[1][1][1] = numberText(TerrainPictureIndex);
    CellCodes[1][1][2] = numberText(OwnerPictureIndex - OwnerPictureBase);
    setPictures(0, TerrainPictureIndex, OwnerPictureIndex);

    std::size_t k = 0;
    for (int r = 1; r <= MapHeight; ++r) {
        for (int c = r == 1 ? 2 : 1; c <= MapWidth; ++c) {
            ++k;
            // Copies of element 0, hidden until placed.
            PictureElement terrain = image1_[0];
            PictureElement owner = image2_[0];
            terrain.visible = false;
            owner.visible = false;

            GetImage();
            CellCodes[r][c][1] = numberText(TerrainPictureIndex);
            CellCodes[r][c][2] = numberText(OwnerPictureIndex - OwnerPictureBase);
            terrain.picture = static_cast<std::int8_t>(TerrainPictureIndex);
            owner.picture = static_cast<std::int8_t>(OwnerPictureIndex);
            terrain.top = RowTop;
            terrain.left = c * CellSize;
            owner.top = RowTop;
            owner.left = c * CellSize;
            terrain.visible = true;
            owner.visible = true;
            image1_.push_back(terrain);
            image2_.push_back(owner);
        }
        RowTop += CellSize;
    }

    for (int b = 1; b <= 20; ++b)
        toolbar_.setEnabled(b, true);
    for (int b = 28; b <= palette::ButtonCount; ++b) {
        if (b != palette::ZoomInButton)
            toolbar_.setEnabled(b, true);
    }
    toolbar_.setPressed(palette::HeartButton, true);
    toolbar_.setPressed(palette::HeroButton, true);
    toolbar_.setPressed(palette::GridButton, true);

    update();
}

void frmMap::setPictures(int index, int terrainPicture, int ownerPicture)
{
    image1_[static_cast<std::size_t>(index)].picture = static_cast<std::int8_t>(terrainPicture);
    image2_[static_cast<std::size_t>(index)].picture = static_cast<std::int8_t>(ownerPicture);
}

bool frmMap::hasGrid() const
{
    using namespace Module1;
    return MapWidth > 0 && MapHeight > 0 &&
           image1_.size() == static_cast<std::size_t>(MapWidth) * MapHeight;
}

int frmMap::cellPixels() const
{
    return twipsToPixels(Module1::CellSize);
}

QRect frmMap::elementRect(int index) const
{
    if (index < 0 || index >= elementCount())
        return {};
    const PictureElement& e = Image1(index);
    return twipsRect(e.left, e.top, e.width, e.height);
}

int frmMap::elementAt(QPoint position) const
{
    using namespace Module1;
    if (!hasGrid()) {
        const bool onCell =
            !image1_.empty() && image1_[0].visible && elementRect(0).contains(position);
        return onCell ? 0 : -1;
    }
    if (position.x() < 0 || position.y() < 0)
        return -1;
    const int cs = cellPixels();
    const int c = position.x() / cs;
    const int r = position.y() / cs;
    if (c < 1 || c > MapWidth || r < 1 || r > MapHeight)
        return -1;
    const int index = (r - 1) * MapWidth + (c - 1);
    return Image1(index).visible ? index : -1;
}

QRect frmMap::blockRect(int firstRow, int lastRow, int firstColumn, int lastColumn) const
{
    const int w = Module1::MapWidth;
    const QRect first = elementRect((firstRow - 1) * w + (firstColumn - 1));
    const QRect last = elementRect((lastRow - 1) * w + (lastColumn - 1));
    return first.united(last);
}

// ---- Zoom and grid --------------------------------------------------------

void frmMap::ZoomIn()
{
    toolbar_.setEnabled(palette::ZoomOutButton, true);
    Module1::CellSize += ZoomStep;
    if (Module1::CellSize == LargestCellSize)
        toolbar_.setEnabled(palette::ZoomInButton, false);
    reLayGrid();
}

void frmMap::ZoomOut()
{
    toolbar_.setEnabled(palette::ZoomInButton, true);
    Module1::CellSize -= ZoomStep;
    if (Module1::CellSize == SmallestCellSize)
        toolbar_.setEnabled(palette::ZoomOutButton, false);
    reLayGrid();
}

void frmMap::reLayGrid()
{
    using namespace Module1;

    // The scroll area's viewport is drawn once, with the final layout, and
    // the cell that was in the middle of it stays there.
    QScrollArea* area = enclosingScrollArea(this);
    QWidget* viewport = area ? area->viewport() : nullptr;
    QPointF centre(0.5, 0.5); // as a fraction of the window's size
    if (viewport) {
        viewport->setUpdatesEnabled(false);
        const QPointF middle = mapFrom(viewport, viewport->rect().center()) + QPointF(0.5, 0.5);
        if (width() > 0 && height() > 0)
            centre = QPointF(middle.x() / width(), middle.y() / height());
    }

    RowTop = CellSize;
    MapPixelHeight = CellSize * MapHeight + CellSize * 2;
    MapPixelWidth = CellSize * MapWidth + CellSize * 2;
    setFixedSize(twipsToPixels(MapPixelWidth), twipsToPixels(MapPixelHeight));

    const std::size_t count = image1_.size();
    std::size_t k = 0;
    for (int r = 1; r <= MapHeight; ++r) {
        int x = CellSize;
        for (int c = 1; c <= MapWidth && k < count; ++c, ++k) {
            for (PictureElement* e : {&image1_[k], &image2_[k]}) {
                e->top = RowTop;
                e->left = x;
                e->width = static_cast<std::int16_t>(CellSize);
                e->height = static_cast<std::int16_t>(CellSize);
            }
            x += CellSize;
        }
        RowTop += CellSize;
    }

    // The outline was for the old layout; the pointer now rests on another cell.
    outline_ = QRect();
    if (underMouse())
        showHoverOutline(elementAt(mapFromGlobal(QCursor::pos())));

    if (viewport) {
        const QSize half = viewport->size() / 2;
        area->horizontalScrollBar()->setValue(qRound(centre.x() * width()) - half.width());
        area->verticalScrollBar()->setValue(qRound(centre.y() * height()) - half.height());
        viewport->setUpdatesEnabled(true);
    }
    update();
}

void frmMap::setBorders(int borderStyle)
{
    const std::size_t cells =
        std::min(image1_.size(), static_cast<std::size_t>(std::max(0, Module1::MapWidth)) *
                                     static_cast<std::size_t>(std::max(0, Module1::MapHeight)));
    for (std::size_t k = 0; k < cells; ++k)
        image1_[k].borderStyle = static_cast<std::int8_t>(borderStyle);
    update();
}

void frmMap::GridOn()
{
    setBorders(1);
}

void frmMap::GridOff()
{
    setBorders(0);
}

// ---- Cell painting --------------------------------------------------------

void frmMap::Image1_Click(int index)
{
    using namespace Module1;
    // A map without a column or a row has no inner cells to paint.
    if (MapWidth <= 0 || MapHeight <= 0 || index < 0 || index >= elementCount())
        return;

    const int c = index % MapWidth + 1;
    const int r = index / MapWidth + 1;
    if (c == 1 || c == MapWidth || r == 1 || r == MapHeight)
        return;

    if (CurrentTerrain != 1) {
        setPictures(index, CurrentTerrain, CurrentOwner + OwnerPictureBase);
        CellCodes[r][c][1] = numberText(CurrentTerrain);
        CellCodes[r][c][2] = numberText(CurrentOwner);
        ForeignCellCodes.forget(static_cast<std::size_t>(index));
        update(elementRect(index));
        emit cellsChanged();
        return;
    }

    // The Heart's 5 x 5 block must lie inside the outer ring.
    if (c <= 3 || r <= 3 || c > MapWidth - 3 || r > MapHeight - 3)
        return;
    for (int row = r - 2; row <= r + 2; ++row) {
        for (int column = c - 2; column <= c + 2; ++column)
            setPictures((row - 1) * MapWidth + (column - 1), 1, CurrentOwner + OwnerPictureBase);
    }
    for (int row = r - 2; row <= r + 2; ++row) {
        for (int column = c - 2; column <= c + 2; ++column) {
            CellCodes[row][column][1] = numberText(1);
            CellCodes[row][column][2] = numberText(CurrentOwner);
            ForeignCellCodes.forget(static_cast<std::size_t>((row - 1) * MapWidth + (column - 1)));
        }
    }
    update(blockRect(r - 2, r + 2, c - 2, c + 2));
    emit cellsChanged();
}

frmMap::ClickPreview frmMap::previewClick(int index) const
{
    using namespace Module1;
    ClickPreview preview;
    if (MapWidth <= 0 || MapHeight <= 0 || index < 0 || index >= elementCount())
        return preview;
    const int c = index % MapWidth + 1;
    const int r = index / MapWidth + 1;
    const bool onRing = c == 1 || c == MapWidth || r == 1 || r == MapHeight;
    if (CurrentTerrain == 1) {
        preview.firstRow = std::max(1, r - 2);
        preview.lastRow = std::min(MapHeight, r + 2);
        preview.firstColumn = std::max(1, c - 2);
        preview.lastColumn = std::min(MapWidth, c + 2);
        preview.accepted = c >= 4 && c <= MapWidth - 3 && r >= 4 && r <= MapHeight - 3;
    } else {
        preview.firstRow = preview.lastRow = r;
        preview.firstColumn = preview.lastColumn = c;
        preview.accepted = !onRing;
    }
    return preview;
}

void frmMap::showHoverOutline(int index)
{
    QRect outline;
    bool accepted = false;
    const ClickPreview preview = previewClick(index);
    if (preview.firstRow > 0) {
        outline =
            blockRect(preview.firstRow, preview.lastRow, preview.firstColumn, preview.lastColumn);
        accepted = preview.accepted;
    }
    if (outline != outline_ || accepted != outlineAccepted_) {
        update(outline_);
        update(outline);
        outline_ = outline;
        outlineAccepted_ = accepted;
    }
    if (index != hovered_) {
        hovered_ = index;
        emit hoveredElementChanged(index);
    }
}

// ---- Events ---------------------------------------------------------------

void frmMap::paintEvent(QPaintEvent* event)
{
    using namespace Module1;
    QPainter painter(this);
    const QRect exposed = event->rect();

    if (!hasGrid()) {
        painter.fillRect(exposed, Qt::black);
        if (!image1_.empty() && image1_[0].visible && elementRect(0).intersects(exposed)) {
            const QRect cell = elementRect(0);
            tiles_->setScale(cell.width(), devicePixelRatioF());
            painter.drawPixmap(cell.topLeft(), tiles_->tile(image1_[0].picture, image2_[0].picture,
                                                            image1_[0].borderStyle == 1));
        }
    } else {
        const int cs = cellPixels();
        tiles_->setScale(cs, devicePixelRatioF());
        const QRect cellsArea(cs, cs, MapWidth * cs, MapHeight * cs);
        for (const QRect& margin : QRegion(exposed).subtracted(cellsArea))
            painter.fillRect(margin, Qt::black);

        const QRect toDraw = exposed & cellsArea;
        if (!toDraw.isEmpty()) {
            const int firstColumn = toDraw.left() / cs;
            const int lastColumn = toDraw.right() / cs;
            const int firstRow = toDraw.top() / cs;
            const int lastRow = toDraw.bottom() / cs;
            for (int r = firstRow; r <= lastRow; ++r) {
                std::size_t k = static_cast<std::size_t>(r - 1) * MapWidth + (firstColumn - 1);
                for (int c = firstColumn; c <= lastColumn; ++c, ++k) {
                    const PictureElement& terrain = image1_[k];
                    const PictureElement& owner = image2_[k];
                    // The load and the clicks change both pictures of a cell together.
                    if (!terrain.visible || !owner.visible)
                        painter.fillRect(c * cs, r * cs, cs, cs, Qt::black);
                    else
                        painter.drawPixmap(
                            c * cs, r * cs,
                            tiles_->tile(terrain.picture, owner.picture, terrain.borderStyle == 1));
                }
            }
        }
    }

    if (!outline_.isEmpty() && outline_.intersects(exposed)) {
        // A refused click also washes its area red: a thin line alone is
        // easy to miss on the red-brown rock of the outer ring.
        painter.setBrush(outlineAccepted_ ? QBrush(Qt::NoBrush) : QBrush(RefusedWash));
        painter.setPen(QPen(outlineAccepted_ ? AcceptedOutline : RefusedOutline, 2, Qt::SolidLine,
                            Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(QRectF(outline_).adjusted(1, 1, -1, -1));
        // A dark inner edge keeps the outline visible on a cyan or red owner colour.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(QRectF(outline_).adjusted(2.5, 2.5, -2.5, -2.5));
    }
}

void frmMap::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int index = elementAt(event->position().toPoint());
    if (index >= 0)
        Image1_Click(index);
}

void frmMap::mouseMoveEvent(QMouseEvent* event)
{
    showHoverOutline(elementAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void frmMap::leaveEvent(QEvent* event)
{
    showHoverOutline(-1);
    QWidget::leaveEvent(event);
}
