#pragma once

#include "document/MapFile.h"

#include <QString>

#include <vector>

namespace delvard {

// What `delvard-map check` reports. Errors are faults of the file that the
// editor papers over (or cannot open at all); warnings are layouts that the
// editor's palette would never have produced, which a designer usually
// wants to hear about but may have made on purpose.
struct Finding
{
    enum Severity { Error, Warning };
    Severity severity;
    delvard::CellPosition place; // null: the file as a whole
    QString message;
};

std::vector<Finding> lintMap(const MapFile& file);

} // namespace delvard
