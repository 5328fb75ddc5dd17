#include "savefile.h"

#include "slideerror.h"

#include <cerrno>
#include <filesystem>

namespace quarvel {

void SaveFile::setWriteGate(WriteGate gate)
{
    if (!gate) {
        core::AtomicFile::setGate({});
        return;
    }
    core::AtomicFile::setGate([gate = std::move(gate)](core::AtomicFile::Stage stage, std::uint64_t written,
                                                       std::size_t size) {
        const bool pass = stage != core::AtomicFile::Stage::Write
                          || gate(static_cast<qint64>(written), static_cast<qint64>(size));
        return pass ? 0 : ENOSPC;
    });
}

SaveFile::SaveFile(const QString &target)
{
    try {
        mFile = std::make_unique<core::AtomicFile>(std::filesystem::path(target.toStdU16String()));
    } catch (const core::Error &e) {
        throw SlideError(e);
    }
}

SaveFile::~SaveFile() = default;

void SaveFile::write(const char *data, qsizetype size)
{
    try {
        mFile->write(data, static_cast<std::size_t>(size));
    } catch (const core::Error &e) {
        throw SlideError(e);
    }
}

void SaveFile::commit()
{
    try {
        mFile->commit();
    } catch (const core::Error &e) {
        throw SlideError(e);
    }
}

void saveFileAtomically(const QString &target, const QByteArray &bytes)
{
    SaveFile file(target);
    file.write(bytes);
    file.commit();
}

} // namespace quarvel
