#pragma once

#include "delvard-map/Command.h"

#include <vector>

namespace delvard {

// Each command, defined beside the code that runs it.
const Command& infoCommand();
const Command& checkCommand();
const Command& renderCommand();
const Command& diffCommand();
const Command& textCommand();
const Command& mergeCommand();
const Command& gitSetupCommand();

// Every command, in the order the program's help lists them.
const std::vector<const Command*>& commandTable();

// What `delvard-map --help` writes.
QString programHelp();

} // namespace delvard
