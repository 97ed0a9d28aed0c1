#pragma once

class QObject;

// Repairs for faults of Qt 6.4 that a screen reader brings out. Installed
// once, as application event filters owned by owner.
void installQtRepairs(QObject* owner);
