#pragma once

// Atomic replacement of a file: the data goes to a temporary file beside the
// target, is flushed to disk, and only then renamed over the target. A save
// that fails at any point leaves the old file exactly as it was.

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QSaveFile;

namespace quarvel {

class SaveFile
{
public:
    // Opens the temporary file; throws SlideError naming target on failure.
    explicit SaveFile(const QString &target);
    ~SaveFile();   // discards the temporary file unless commit() succeeded

    void write(const char *data, qsizetype size);
    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }
    void commit();

    // Test hook: called before every write with the bytes written so far and
    // the size of the next chunk; returning false makes that write fail as a
    // full disk would.
    using WriteGate = std::function<bool(qint64 written, qint64 size)>;
    static void setWriteGate(WriteGate gate);

private:
    QString mTarget;
    std::unique_ptr<QSaveFile> mFile;
    qint64 mWritten = 0;
};

// Writes bytes to target through a SaveFile.
void saveFileAtomically(const QString &target, const QByteArray &bytes);

} // namespace quarvel
