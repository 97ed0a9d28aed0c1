#pragma once

#include "document/FileProblem.h"
#include "document/FileReader.h"
#include "document/MapFormat.h"

#include <QString>

// The words for what went wrong, written once for both programs: the lower
// layers hand over a kind and the system's reason, and every message the
// person reads is made here, through Qt's translation. Each is one or two
// sentences without the file's name; the caller names the file with
// displayName() in its own frame ("The map file "…" cannot be opened.").
namespace delvard {

QString describeProblem(const FileProblem& problem, const FileKind& kind);
QString describeProblem(const MapCheck& check);

// The system's words for an error; a failure that left none still says so
// rather than "Success".
QString systemWords(const std::error_code& error);

} // namespace delvard
