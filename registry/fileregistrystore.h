#pragma once

// The registry where the system has none: a MemoryRegistryStore kept in one
// text file. The file is read again before every operation, so that two
// running copies of the program see each other's changes, and every change
// replaces it atomically, so that a failed write never leaves half a file.
//
// The file lists each key under a header of its full path and its values
// below it:
//
//   [HKEY_CLASSES_ROOT\AutoCADSlide\Shell\open\command]
//   @=1:/usr/bin/quarvel %251%00
//
// "@" is the default value, other value names are percent-encoded; after the
// "=" come the value's type as a decimal number, ":" and its bytes,
// percent-encoded. Key names are percent-encoded level by level.

#include "memoryregistrystore.h"

namespace quarvel {

class FileRegistryStore : public MemoryRegistryStore
{
public:
    explicit FileRegistryStore(QString filePath);

    const QString &filePath() const { return mFilePath; }

protected:
    // A file that exists but cannot be read refuses every operation: writing
    // over it would throw away whatever it holds.
    bool refresh() override;
    bool persist() override;

private:
    void parse(const QByteArray &text);
    QByteArray serialize();

    QString mFilePath;
};

} // namespace quarvel
