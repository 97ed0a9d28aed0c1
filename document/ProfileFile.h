#pragma once

#include "document/Outcome.h"

#include <QByteArray>
#include <QString>

namespace delvard {

// Initialisation ("profile") files read and written the way Windows'
// GetPrivateProfileString and WritePrivateProfileString treat them, so a
// Delvard.ini made by hand or by an older release reads the same.
//
// Text is handled as bytes: names and values are UTF-8. Section and key
// names match without regard to ASCII case; other bytes must match exactly,
// so a damaged file never hands out a value for a name it does not hold.
namespace ProfileFile {

struct ReadResult
{
    QByteArray value;     // at most bufferSize - 1 bytes
    qsizetype copied = 0; // bytes in value, as the platform call counts them
};

// The value of key in section, or defaultValue when the file, the section or
// the key is missing or the file cannot be read. Like a C buffer of
// bufferSize bytes it holds at most bufferSize - 1 bytes; when that cut
// falls inside a multi-byte UTF-8 character the incomplete character is
// dropped as well, so the result is never broken UTF-8 of our own making.
ReadResult read(const QByteArray& section, const QByteArray& key, const QByteArray& defaultValue,
                qsizetype bufferSize, const QString& file);

// Sets key in section to value, adding the key after the section's last
// non-blank line or the section at the end of the file. Every other line is
// kept byte for byte, and so is the file's line-end style. A missing file is
// created. The file is replaced as a whole or not at all. The problem names
// the file.
Outcome write(const QByteArray& section, const QByteArray& key, const QByteArray& value,
              const QString& file);

} // namespace ProfileFile

} // namespace delvard
