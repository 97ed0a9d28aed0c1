#include "document/NativeFileName.h"

#include <QDir>
#include <QStringDecoder>

namespace delvard {

namespace {

constexpr char16_t FirstEscape = 0xDC80; // carries byte 0x80
constexpr char16_t LastEscape = 0xDCFF;  // carries byte 0xFF

bool isEscapedByte(QChar c)
{
    return c.unicode() >= FirstEscape && c.unicode() <= LastEscape;
}

} // namespace

qsizetype utf8SequenceLength(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return 0;
    const auto lead = static_cast<unsigned char>(bytes.front());
    qsizetype length = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 0 || bytes.size() < length)
        return 0;
    // The decoder judges overlong forms, surrogates and the upper limit.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(bytes.first(length));
    return decoder.hasError() || decoded.contains(QChar::ReplacementCharacter) ? 0 : length;
}

QString decodeNativeName(const QByteArray& bytes)
{
    QString name;
    name.reserve(bytes.size());
    QByteArrayView rest(bytes);
    while (!rest.isEmpty()) {
        const qsizetype length = utf8SequenceLength(rest);
        if (length == 0) {
            name.append(QChar(char16_t(0xDC00 + static_cast<unsigned char>(rest.front()))));
            rest = rest.sliced(1);
        } else {
            name.append(QString::fromUtf8(rest.first(length)));
            rest = rest.sliced(length);
        }
    }
    return name;
}

std::filesystem::path nativePath(const QString& name)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(name.toStdWString());
#else
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(name.size()));
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isEscapedByte(name[i]))
            continue;
        bytes += name.mid(plainFrom, i - plainFrom).toStdString();
        if (i < name.size())
            bytes += static_cast<char>(name[i].unicode() - 0xDC00);
        plainFrom = i + 1;
    }
    return std::filesystem::path(bytes);
#endif
}

QString fromNativePath(const std::filesystem::path& path)
{
#ifdef Q_OS_WIN
    return QString::fromStdWString(path.native());
#else
    return decodeNativeName(QByteArray::fromStdString(path.native()));
#endif
}

namespace {

QString hex(unsigned value)
{
    return QStringLiteral("\\x") + QString::number(value, 16).toUpper().rightJustified(2, u'0');
}

// A control character as the \xNN of its UTF-8 bytes, or empty text.
QString escapedControl(char16_t code)
{
    if (code < 0x20 || code == 0x7F)
        return hex(code);
    if (code >= 0x80 && code <= 0x9F)
        return hex(0xC2) + hex(code);
    return {};
}

} // namespace

QString displayName(const QString& name)
{
    QString shown;
    for (const QChar c : QDir::toNativeSeparators(name)) {
        const char16_t code = c.unicode();
        if (isEscapedByte(c)) {
            shown += hex(code - 0xDC00u);
        } else if (const QString control = escapedControl(code); !control.isEmpty()) {
            shown += control;
#ifndef Q_OS_WIN
        } else if (code == u'\\') {
            // Only an escape starts with a backslash where it is no separator.
            shown += QStringLiteral("\\\\");
#endif
        } else {
            shown += c;
        }
    }
    return shown;
}

QString withControlCharactersEscaped(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const QString control = escapedControl(c.unicode());
        if (control.isEmpty())
            shown += c;
        else
            shown += control;
    }
    return shown;
}

} // namespace delvard
