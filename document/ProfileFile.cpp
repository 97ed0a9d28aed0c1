#include "document/ProfileFile.h"

#include "document/FileReader.h"
#include "document/FileWriter.h"
#include "document/NativeFileName.h"
#include "document/ProblemWords.h"

#include <QList>

#include <algorithm>

namespace delvard {

namespace ProfileFile {
namespace {

const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

#ifdef Q_OS_WIN
const QByteArray PlatformLineEnd = QByteArrayLiteral("\r\n");
#else
const QByteArray PlatformLineEnd = QByteArrayLiteral("\n");
#endif

// One line of the file as it stands, so that lines we do not touch are
// written back exactly.
struct Line
{
    QByteArray text; // without its line end
    QByteArray end;  // "\r\n", "\n", or empty for a last line without one
};

enum class LineKind { Blank, Other, Section, Entry };

struct ParsedLine
{
    LineKind kind = LineKind::Other;
    QByteArray name;          // section or key name, trimmed
    QByteArray value;         // entry value, trimmed and unquoted
    qsizetype valueStart = 0; // where the value begins in the line's text
};

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// ASCII-only folding: folding Latin-1 or Unicode case on UTF-8 bytes could
// make two different names meet.
bool sameName(const QByteArray& a, const QByteArray& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool enclosedInQuotes(const QByteArray& text)
{
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

QList<Line> splitLines(const QByteArray& bytes)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            lines.append({bytes.mid(start), QByteArray()});
            break;
        }
        const bool crlf = newline > start && bytes[newline - 1] == '\r';
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        lines.append({bytes.mid(start, textEnd - start),
                      crlf ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n")});
        start = newline + 1;
    }
    return lines;
}

QByteArray joinLines(const QList<Line>& lines)
{
    QByteArray bytes;
    for (const Line& line : lines)
        bytes += line.text + line.end;
    return bytes;
}

// The file's own line-end style, judged by its first line end.
QByteArray lineEndOf(const QByteArray& bytes)
{
    const qsizetype newline = bytes.indexOf('\n');
    if (newline < 0)
        return PlatformLineEnd;
    return (newline > 0 && bytes[newline - 1] == '\r') ? QByteArrayLiteral("\r\n")
                                                       : QByteArrayLiteral("\n");
}

ParsedLine parseLine(const QByteArray& rawText, bool firstLine)
{
    const QByteArray text =
        firstLine && rawText.startsWith(Utf8Bom) ? rawText.mid(Utf8Bom.size()) : rawText;
    const QByteArray trimmed = text.trimmed();
    ParsedLine parsed;
    if (trimmed.isEmpty()) {
        parsed.kind = LineKind::Blank;
        return parsed;
    }
    if (trimmed.front() == ';')
        return parsed;
    if (trimmed.front() == '[') {
        const qsizetype close = trimmed.lastIndexOf(']');
        if (close > 0) {
            parsed.kind = LineKind::Section;
            parsed.name = trimmed.mid(1, close - 1).trimmed();
            return parsed;
        }
    }
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return parsed;
    const QByteArray key = text.left(equals).trimmed();
    if (key.isEmpty())
        return parsed;
    // Positions count in the line as stored, byte order mark included.
    qsizetype valueStart = rawText.size() - text.size() + equals + 1;
    while (valueStart < rawText.size() && isSpace(rawText[valueStart]))
        ++valueStart;
    QByteArray value = rawText.mid(valueStart).trimmed();
    if (enclosedInQuotes(value))
        value = value.mid(1, value.size() - 2);
    parsed.kind = LineKind::Entry;
    parsed.name = key;
    parsed.value = value;
    parsed.valueStart = valueStart;
    return parsed;
}

// Values with outer blanks or outer quotes of their own are written inside
// quotes, because reading strips both; this way every value reads back as
// it was written.
QByteArray encodeValue(const QByteArray& value)
{
    if (value.isEmpty())
        return value;
    if (isSpace(value.front()) || isSpace(value.back()) || enclosedInQuotes(value))
        return '"' + value + '"';
    return value;
}

bool hasLineBreakOrNul(const QByteArray& text)
{
    return text.contains('\n') || text.contains('\r') || text.contains('\0');
}

// A cut inside a multi-byte character would leave bytes that are no longer
// text; drop them as well.
QByteArray cutToBuffer(const QByteArray& value, qsizetype bufferSize)
{
    const qsizetype room = bufferSize > 0 ? bufferSize - 1 : 0;
    if (value.size() <= room)
        return value;
    QByteArray cut = value.left(room);
    // The last character starts at most three bytes before the cut; it is
    // dropped when it was whole before the cut and is not after it.
    for (qsizetype lead = cut.size() - 1; lead >= 0 && lead >= cut.size() - 3; --lead) {
        const QByteArrayView whole = QByteArrayView(value).sliced(lead);
        const qsizetype length = delvard::utf8SequenceLength(whole);
        if (length > 0) {
            if (lead + length > cut.size())
                cut.truncate(lead);
            break;
        }
    }
    return cut;
}

struct Loaded
{
    bool exists = false;
    QByteArray bytes;
    QString problem;
};

Loaded load(const QString& file)
{
    Loaded loaded;
    const delvard::FileRead read =
        delvard::readWholeFile(delvard::nativePath(file), delvard::SettingsFiles);
    if (read.missing)
        return loaded;
    loaded.exists = true;
    if (!read.ok) {
        loaded.problem = QStringLiteral("Could not read \"%1\": %2")
                             .arg(displayName(file),
                                  delvard::describeProblem(read.problem, delvard::SettingsFiles));
        return loaded;
    }
    loaded.bytes = QByteArray::fromStdString(read.bytes);
    return loaded;
}

Outcome cannotWrite(const QString& file, const QString& reason)
{
    return Outcome::failed(
        QStringLiteral("Could not write \"%1\": %2").arg(displayName(file), reason));
}

} // namespace

ReadResult read(const QByteArray& section, const QByteArray& key, const QByteArray& defaultValue,
                qsizetype bufferSize, const QString& file)
{
    QByteArray value = defaultValue;
    const Loaded loaded = load(file);
    if (loaded.exists && loaded.problem.isEmpty()) {
        const QByteArray wantedSection = section.trimmed();
        const QByteArray wantedKey = key.trimmed();
        const QList<Line> lines = splitLines(loaded.bytes);
        bool inSection = false;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const ParsedLine parsed = parseLine(lines[i].text, i == 0);
            if (parsed.kind == LineKind::Section) {
                inSection = sameName(parsed.name, wantedSection);
            } else if (inSection && parsed.kind == LineKind::Entry &&
                       sameName(parsed.name, wantedKey)) {
                value = parsed.value;
                break;
            }
        }
    }
    ReadResult result;
    result.value = cutToBuffer(value, bufferSize);
    result.copied = result.value.size();
    return result;
}

Outcome write(const QByteArray& section, const QByteArray& key, const QByteArray& value,
              const QString& file)
{
    const QByteArray wantedSection = section.trimmed();
    const QByteArray wantedKey = key.trimmed();
    if (wantedSection.isEmpty() || hasLineBreakOrNul(wantedSection) || wantedKey.isEmpty() ||
        hasLineBreakOrNul(wantedKey) || wantedKey.contains('=') || wantedKey.front() == ';' ||
        wantedKey.front() == '[') {
        return Outcome::failed(QStringLiteral("Could not write \"%1\": the name [%2] %3 cannot be "
                                              "stored in an initialisation file.")
                                   .arg(displayName(file), QString::fromUtf8(wantedSection),
                                        QString::fromUtf8(wantedKey)));
    }
    if (hasLineBreakOrNul(value)) {
        return Outcome::failed(
            QStringLiteral(
                "Could not write \"%1\": the value contains a line break or a zero byte.")
                .arg(displayName(file)));
    }

    // A file we could not read is never replaced: its content would be lost.
    const Loaded loaded = load(file);
    if (!loaded.problem.isEmpty())
        return Outcome::failed(loaded.problem);

    const QByteArray lineEnd = lineEndOf(loaded.bytes);
    const QByteArray entry = wantedKey + '=' + encodeValue(value);
    QList<Line> lines = splitLines(loaded.bytes);

    qsizetype sectionLine = -1;
    qsizetype sectionEnd = lines.size();
    qsizetype entryLine = -1;
    qsizetype valueStart = 0;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size() && entryLine < 0; ++i) {
        const ParsedLine parsed = parseLine(lines[i].text, i == 0);
        if (parsed.kind == LineKind::Section) {
            if (inSection && sectionEnd == lines.size())
                sectionEnd = i;
            inSection = sameName(parsed.name, wantedSection);
            if (inSection && sectionLine < 0)
                sectionLine = i;
        } else if (inSection && parsed.kind == LineKind::Entry &&
                   sameName(parsed.name, wantedKey)) {
            entryLine = i;
            valueStart = parsed.valueStart;
        }
    }

    if (entryLine >= 0) {
        // The key keeps its spelling and spacing; only the value changes.
        Line& line = lines[entryLine];
        line.text = line.text.left(valueStart) + encodeValue(value);
    } else if (sectionLine >= 0) {
        qsizetype last = sectionLine;
        for (qsizetype i = sectionLine + 1; i < sectionEnd; ++i) {
            if (parseLine(lines[i].text, false).kind != LineKind::Blank)
                last = i;
        }
        if (lines[last].end.isEmpty())
            lines[last].end = lineEnd;
        lines.insert(last + 1, {entry, lineEnd});
    } else {
        if (!lines.isEmpty()) {
            if (lines.back().end.isEmpty())
                lines.back().end = lineEnd;
            if (parseLine(lines.back().text, lines.size() == 1).kind != LineKind::Blank)
                lines.append({QByteArray(), lineEnd});
        }
        lines.append({'[' + wantedSection + ']', lineEnd});
        lines.append({entry, lineEnd});
    }

    // The same careful replacement as a map's: an installed program's folder
    // may refuse a new file while the settings file itself can be written,
    // and then it is written in place.
    const QByteArray bytes = joinLines(lines);
    const delvard::FileWrite written = delvard::replaceFile(
        delvard::nativePath(file),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!written.ok)
        return cannotWrite(file, delvard::describeProblem(written.problem, delvard::SettingsFiles));
    return {};
}

} // namespace ProfileFile

} // namespace delvard
