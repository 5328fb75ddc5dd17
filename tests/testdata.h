#pragma once

// Where tests find their input: the corpus of real files made by other
// software, and small files of our own.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

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

} // namespace quarvel::test
