#pragma once

// Where tests find their input: the corpus of real files made by other
// software, and small files of our own.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>
#include <ostream>

// Failures show a text as text rather than as a list of 16-bit units.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace quarvel::test {

inline QString corpusDir(const QString &sub = {})
{
    return sub.isEmpty() ? QStringLiteral(QUARVEL_CORPUS_DIR)
                         : QStringLiteral(QUARVEL_CORPUS_DIR "/") + sub;
}

// Full paths of the corpus files in a sub-folder ("sld", "slb", "wmf").
inline QStringList corpusFiles(const QString &sub)
{
    QDir dir(corpusDir(sub));
    QStringList out;
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        out << dir.filePath(name);
    return out;
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Settings-file text in the form this platform writes it: UTF-8 with LF line
// ends on Linux; on Windows the ANSI code page with CR LF (a leading UTF-8
// byte-order mark stays as it is). Nothing when that code page cannot hold
// the text.
inline std::optional<QByteArray> settingsText(const QByteArray &utf8)
{
#ifdef Q_OS_WIN
    const QByteArray bom("\xEF\xBB\xBF");
    const bool marked = utf8.startsWith(bom);
    const QString text = QString::fromUtf8(marked ? utf8.mid(bom.size()) : utf8);
    QByteArray bytes = text.toLocal8Bit();
    if (QString::fromLocal8Bit(bytes) != text)
        return std::nullopt;
    QByteArray out = marked ? bom : QByteArray();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\n' && (i == 0 || bytes.at(i - 1) != '\r'))
            out += '\r';
        out += bytes.at(i);
    }
    return out;
#else
    return utf8;
#endif
}

} // namespace quarvel::test
