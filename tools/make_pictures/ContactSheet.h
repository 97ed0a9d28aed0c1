#pragma once

#include <QImage>
#include <QVector>

// Overview sheets for judging the pictures by eye.
namespace sheets {

// Every cell picture 1-35 over every owner picture 36-42, both stretched to
// 72 x 72 as the map window shows them at its largest cell size; rows are
// labelled with the terrain names, columns with the owner names.
QImage contactSheet(const QVector<QImage>& pictures);

// The toolbar forms at the toolbar's 16 x 16 and the cell pictures over a
// neutral owner at the smallest cell size of 24 x 24, magnified four times
// without smoothing so single pixels can be judged.
QImage smallSizesSheet(const QVector<QImage>& pictures);

} // namespace sheets
