#pragma once

// The file type box of the file dialog: which entries a file type code gives,
// with the list filter and default extension it starts with, and what
// choosing an entry changes. The entries read the same in both languages.

#include <QString>
#include <QStringList>

#include <optional>

namespace quarvel {

struct FileTypeSet
{
    QStringList entries;        // top to bottom; the first is selected
    QString filter;             // of the file list
    QString defaultExtension;   // appended to the typed name on accept
};

// Codes 1 (libraries), 2 (slides), 3 (libraries and slides), 5 (metafiles)
// and 6 (DXF drawings); nothing for any other code.
std::optional<FileTypeSet> fileTypeSet(int code);

// What choosing an entry of the file type box changes; an unset field stays
// as it was.
struct FileTypeChoice
{
    std::optional<QString> filter;
    std::optional<QString> defaultExtension;
    std::optional<bool> slideListVisible;
};
FileTypeChoice fileTypeChoice(const QString &entry);

} // namespace quarvel
