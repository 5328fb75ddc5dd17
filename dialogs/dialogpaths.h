#pragma once

// Path rules of the file dialogs that need no widget: the parent folder, the
// folders the picker may return, the names a new folder may take, and why a
// folder could not be made. The rules take the path form, so they are the
// same for "C:\Work" and "/home/u/work".

#include "paths.h"

#include <QString>

namespace quarvel {

// GetUpDir: the folder above p. A root stays itself ("C:\A" gives "C:\",
// "/home" gives "/"), a trailing separator is dropped ("C:\A\" gives
// "C:\A"), and p without a separator comes back unchanged.
QString GetUpDir(const QString &p, const PathForm &form);
QString GetUpDir(const QString &p);

// Whether the folder picker may return p: not a root (p ends with the
// separator), not a node outside the file system (p has no separator) and,
// where the platform has network shares ("\\server\share"), not a bare share.
// A server alone ("\\srv") and folders within a share pass.
bool canChooseFolder(const QString &p, const PathForm &form);
bool canChooseFolder(const QString &p);

// A path of the network neighbourhood: one that begins with two backslashes.
bool isNetworkPath(const QString &p);

// The characters no file or folder name may hold: \ / : * ? " < > |.
bool hasForbiddenNameCharacter(const QString &name);

// The file the file dialog's name box stands for in folder, with
// defaultExtension the extension of the chosen file type. While the box still
// holds the short name of picked (the item last chosen in the list, a file
// of that type in folder), picked itself is meant, with its real extension.
// A typed name already ending with the extension (in any case) gets none
// appended; otherwise the extension is appended. An existing file whose
// name differs from that only in the case of the extension is the one meant,
// so "DOOR" finds "DOOR.SLB" on a case-sensitive file system. On Windows an
// existing file comes back with its name as stored.
QString chosenFilePath(const QString &folder, const QString &typed, const QString &defaultExtension,
                       const QString &picked);

// Why folder could not be created, judged from the file system after the
// attempt; parent receives the folder above it.
enum class FolderFailure {
    FileInTheWay,   // a file of that name is where a folder should go
    NoPermission,   // the folder above may not be written
    Refused,        // the file system would not take the name
};
FolderFailure whyFolderNotCreated(const QString &folder, QString *parent);

} // namespace quarvel
