#include "inifile.h"

#include "savefile.h"
#include "slideerror.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <optional>
#include <vector>

namespace quarvel {

namespace {

// The file's text is UTF-8 on Linux and the ANSI code page on Windows, where
// the file may be shared with other programs that use the profile functions.
QString decodeText(QByteArrayView bytes)
{
#ifdef Q_OS_WIN
    return QString::fromLocal8Bit(bytes);
#else
    return QString::fromUtf8(bytes);
#endif
}

QByteArray encodeText(const QString &text)
{
#ifdef Q_OS_WIN
    return text.toLocal8Bit();
#else
    return text.toUtf8();
#endif
}

// Whether the file's code page holds every character of text. The ANSI code
// page holds few scripts; a text it cannot hold would read back as another.
bool encodable(const QString &text)
{
#ifdef Q_OS_WIN
    return decodeText(encodeText(text)) == text;
#else
    Q_UNUSED(text);
    return true;
#endif
}

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

// One line of the file as byte offsets: its text is [begin, end), its line
// break [end, next).
struct LineRef
{
    qsizetype begin;
    qsizetype end;
    qsizetype next;
};

std::vector<LineRef> splitLines(const QByteArray &bytes)
{
    std::vector<LineRef> lines;
    qsizetype pos = bytes.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (pos < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', pos);
        LineRef line{pos, newline < 0 ? bytes.size() : newline,
                     newline < 0 ? bytes.size() : newline + 1};
        if (line.end > line.begin && bytes.at(line.end - 1) == '\r')
            --line.end;
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

struct ParsedLine
{
    enum Type { Other, Section, Key } type = Other;
    QString name;
    qsizetype valueBegin = 0;   // first byte of the value text, after "=" and blanks
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

ParsedLine parseLine(const QByteArray &bytes, const LineRef &line)
{
    ParsedLine parsed;
    qsizetype first = line.begin;
    while (first < line.end && isBlank(bytes.at(first)))
        ++first;
    if (first == line.end || bytes.at(first) == ';')
        return parsed;
    const QByteArrayView text(bytes.constData() + first, line.end - first);
    if (text.front() == '[') {
        const qsizetype close = text.lastIndexOf(']');
        if (close > 0) {
            parsed.type = ParsedLine::Section;
            parsed.name = decodeText(text.sliced(1, close - 1)).trimmed();
            return parsed;
        }
    }
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return parsed;
    parsed.type = ParsedLine::Key;
    parsed.name = decodeText(text.first(equals)).trimmed();
    parsed.valueBegin = first + equals + 1;
    while (parsed.valueBegin < line.end && isBlank(bytes.at(parsed.valueBegin)))
        ++parsed.valueBegin;
    return parsed;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a key is, or would go: indexes into the line list, -1 when absent.
struct Location
{
    int sectionLine = -1;
    int lastKeyLine = -1;   // last key line of the section, else its header line
    int keyLine = -1;
    qsizetype valueBegin = 0;
};

Location locate(const QByteArray &bytes, const std::vector<LineRef> &lines,
                const QString &section, const QString &key)
{
    Location where;
    for (int i = 0; i < int(lines.size()); ++i) {
        const ParsedLine parsed = parseLine(bytes, lines[i]);
        if (parsed.type == ParsedLine::Section) {
            // Only the first section of the name counts, as with the
            // system profile functions.
            if (where.sectionLine >= 0)
                break;
            if (sameName(parsed.name, section))
                where.sectionLine = where.lastKeyLine = i;
        } else if (parsed.type == ParsedLine::Key && where.sectionLine >= 0) {
            where.lastKeyLine = i;
            if (sameName(parsed.name, key)) {
                where.keyLine = i;
                where.valueBegin = parsed.valueBegin;
                break;
            }
        }
    }
    return where;
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

bool hasSurroundingQuotes(const QString &value)
{
    return value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
}

QString cutToLimit(const QString &value)
{
    // Counted in characters, so a character outside the basic plane is never
    // split in two.
    qsizetype index = 0;
    for (int count = 0; index < value.size() && count < kIniValueLimit; ++count)
        index += (value.at(index).isHighSurrogate() && index + 1 < value.size()) ? 2 : 1;
    return value.left(index);
}

std::optional<QByteArray> readWhole(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    return in.readAll();
}

bool breaksLine(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(0));
}

QByteArray lineBreakOf(const QByteArray &bytes)
{
    const qsizetype newline = bytes.indexOf('\n');
    if (newline < 0) {
#ifdef Q_OS_WIN
        return "\r\n";
#else
        return "\n";
#endif
    }
    return (newline > 0 && bytes.at(newline - 1) == '\r') ? "\r\n" : "\n";
}

} // namespace

QString ReadIniString(const QString &file, const QString &section, const QString &key)
{
    const std::optional<QByteArray> bytes = readWhole(file);
    if (!bytes)
        return {};
    const std::vector<LineRef> lines = splitLines(*bytes);
    const Location where = locate(*bytes, lines, section.trimmed(), key.trimmed());
    if (where.keyLine < 0)
        return {};
    const LineRef &line = lines[where.keyLine];
    QString value =
        decodeText(QByteArrayView(*bytes).sliced(where.valueBegin, line.end - where.valueBegin))
            .trimmed();
    if (hasSurroundingQuotes(value))
        value = value.mid(1, value.size() - 2);
    return cutToLimit(value);
}

double ReadIniNumber(const QString &file, const QString &section, const QString &key)
{
    const QString text = ReadIniString(file, section, key);
    if (text.isEmpty())
        return 0;
    bool ok = false;
    double value = QLocale().toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value) ? value : 0;
}

bool WriteIniString(const QString &file, const QString &section, const QString &key,
                    const QString &value)
{
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (sectionName.isEmpty() || keyName.isEmpty() || breaksLine(sectionName)
        || breaksLine(keyName) || breaksLine(value) || sectionName.contains(u']')
        || keyName.contains(u'=') || keyName.startsWith(u'[') || keyName.startsWith(u';')
        || !encodable(sectionName) || !encodable(keyName) || !encodable(value))
        return false;

    const bool existed = QFileInfo::exists(file);
    QByteArray old;
    if (existed) {
        // An existing file that cannot be read must not be replaced by one
        // holding only this key.
        std::optional<QByteArray> bytes = readWhole(file);
        if (!bytes)
            return false;
        old = std::move(*bytes);
    }

    const bool quote = value != value.trimmed() || hasSurroundingQuotes(value);
    const QByteArray valueBytes = encodeText(quote ? u'"' + value + u'"' : value);
    const QByteArray eol = lineBreakOf(old);
    const std::vector<LineRef> lines = splitLines(old);
    const Location where = locate(old, lines, sectionName, keyName);

    QByteArray out;
    if (where.keyLine >= 0) {
        out = old.left(where.valueBegin) + valueBytes + old.mid(lines[where.keyLine].end);
    } else if (where.sectionLine >= 0) {
        const LineRef &after = lines[where.lastKeyLine];
        const QByteArray keyLine = encodeText(keyName) + '=' + valueBytes + eol;
        out = old.left(after.next) + (after.next == after.end ? eol : QByteArray()) + keyLine
              + old.mid(after.next);
    } else {
        out = old;
        if (!out.isEmpty() && !out.endsWith('\n'))
            out += eol;
        out += '[' + encodeText(sectionName) + ']' + eol + encodeText(keyName) + '='
               + valueBytes + eol;
    }
    if (existed && out == old)
        return true;
    try {
        saveFileAtomically(file, out);
    } catch (const SlideError &) {
        return false;
    }
    return true;
}

} // namespace quarvel
