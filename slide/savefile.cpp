#include "savefile.h"

#include "slideerror.h"

#include <QDir>
#include <QSaveFile>

namespace quarvel {

namespace {
SaveFile::WriteGate &writeGate()
{
    static SaveFile::WriteGate gate;
    return gate;
}
} // namespace

void SaveFile::setWriteGate(WriteGate gate)
{
    writeGate() = std::move(gate);
}

SaveFile::SaveFile(const QString &target)
    : mTarget(QDir::toNativeSeparators(target))
    , mFile(std::make_unique<QSaveFile>(target))
{
    // Never fall back to writing the target in place: that is what would
    // leave a half-written library behind.
    mFile->setDirectWriteFallback(false);
    if (!mFile->open(QIODevice::WriteOnly))
        throw SlideError(mTarget, QStringLiteral("cannot write: %1").arg(mFile->errorString()));
}

SaveFile::~SaveFile()
{
    if (mFile && mFile->isOpen())
        mFile->cancelWriting();
}

void SaveFile::write(const char *data, qsizetype size)
{
    if (size == 0)
        return;
    const WriteGate &gate = writeGate();
    if ((gate && !gate(mWritten, size)) || mFile->write(data, size) != size) {
        const QString reason = gate && mFile->error() == QFileDevice::NoError
                                   ? QStringLiteral("No space left on device")
                                   : mFile->errorString();
        mFile->cancelWriting();
        throw SlideError(mTarget, QStringLiteral("cannot write: %1").arg(reason));
    }
    mWritten += size;
}

void SaveFile::commit()
{
    if (!mFile->commit())
        throw SlideError(mTarget, QStringLiteral("cannot write: %1").arg(mFile->errorString()));
}

void saveFileAtomically(const QString &target, const QByteArray &bytes)
{
    SaveFile file(target);
    file.write(bytes);
    file.commit();
}

} // namespace quarvel
