#pragma once

// Atomic replacement of a file, in Qt's types: the data goes to a temporary
// file beside the target, is synced to disk, and only then renamed over the
// target. A save that fails at any point (a write, the sync, the close, the
// rename) leaves the old file exactly as it was. The work is core::AtomicFile's.

#include "core/atomicfile.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace quarvel {

class SaveFile
{
public:
    // Opens the temporary file; throws SlideError naming target on failure.
    explicit SaveFile(const QString &target);
    ~SaveFile();   // discards the temporary file unless commit() succeeded

    // Each throws SlideError naming the target and the system's reason.
    void write(const char *data, qsizetype size);
    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }
    void commit();

    // Test hook: called before every write with the bytes written so far and
    // the size of the next chunk; returning false makes that write fail as a
    // full disk would (ENOSPC). core::AtomicFile::setGate fails the sync,
    // close and rename as well.
    using WriteGate = std::function<bool(qint64 written, qint64 size)>;
    static void setWriteGate(WriteGate gate);

private:
    std::unique_ptr<core::AtomicFile> mFile;
};

// Writes bytes to target through a SaveFile.
void saveFileAtomically(const QString &target, const QByteArray &bytes);

} // namespace quarvel
