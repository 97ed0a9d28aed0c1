#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>

// File names as the system hands them over. On Unix a name is a string of
// bytes that need not be UTF-8; Qt's own conversion turns such bytes into
// replacement characters, after which the file can no longer be found. These
// conversions keep every byte: a byte that is not part of valid UTF-8 rides
// in the QString as a lone surrogate U+DC80..U+DCFF (the same trick Python
// uses for such names), and goes back to the same byte.
namespace delvard {

// Length of the valid UTF-8 sequence at the front of bytes, or 0: the one
// UTF-8 judge of both programs.
qsizetype utf8SequenceLength(QByteArrayView bytes);

// A name given on the command line or read from the system, decoded without loss.
QString decodeNativeName(const QByteArray& bytes);

// The path to open a QString name with, byte for byte as the system knows it.
std::filesystem::path nativePath(const QString& name);
// And back: a path from the system as a QString, without loss.
QString fromNativePath(const std::filesystem::path& path);

// The name for a message, the same in both programs: native separators;
// each byte that is not UTF-8, and each control character (a line break, a
// terminal's escape), written as \xNN; so a name never breaks a line or
// the terminal, and two different names never look alike.
QString displayName(const QString& name);

// Text quoted from outside (a reason that names where a link leads) with
// its control characters written as displayName writes them.
QString withControlCharactersEscaped(const QString& text);

} // namespace delvard
