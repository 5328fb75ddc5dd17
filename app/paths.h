#pragma once

// File-system helpers used all over the program. The string rules are pure
// functions that take the path form (separator and root), so they work the
// same on "C:\Work\plan.slb" and on "/home/u/plan.slb"; the overloads without
// a form use this platform's form and the real file system. None of these
// functions shows a message or keeps state.

#include <QString>

#include <functional>
#include <optional>

namespace quarvel {

// How paths are spelt: the separator and the length of an absolute root
// ("X:\" is 3 characters, "/" is 1).
struct PathForm
{
    char16_t separator;
    int rootLength;
};

inline constexpr PathForm kWindowsPaths{u'\\', 3};
inline constexpr PathForm kLinuxPaths{u'/', 1};
PathForm nativePaths();

// The text before / after the last separator; both empty without one.
QString FolderOfPath(const QString &path, char16_t separator);
QString NameOfPath(const QString &path, char16_t separator);
QString FolderOfPath(const QString &path);
QString NameOfPath(const QString &path);

// folder + separator + name, without doubling a separator that folder already
// ends with (a root folder).
QString JoinPath(const QString &folder, const QString &name, char16_t separator);
QString JoinPath(const QString &folder, const QString &name);

// The name a slide added from a file gets: the text after the last separator
// without its last four characters (the extension); empty without a separator
// or when the name is shorter than that.
QString GetShotName(const QString &path, char16_t separator);
QString GetShotName(const QString &path);

// What a file is, by the last three characters of its path, upper-cased.
enum class FileKind { Other, Library, Slide, Metafile };
FileKind fileKindOf(const QString &path);

// What a selected item of a file list is. A folder is a folder whatever its
// name ends with ("wmf", "x.slb"); a file is a metafile, a library or slide
// file (any other name with a three-letter extension goes the same way and
// is refused by what opens it), or a name without a three-letter extension.
enum class ListItem { Folder, Metafile, SlideFile, NoExtension };
ListItem listItemKind(const QString &path, bool isFolder);
// The same, asking the file system whether path is a folder.
ListItem listItemKind(const QString &path);

// text shortened for a label of about limit characters: the head up to a
// separator, "...", and the tail from a separator.
QString CompactPath(const QString &text, int limit, char16_t separator);
QString CompactPath(const QString &text, int limit);

// Whether name matches a pattern with the wildcards "*" (any run) and "?"
// (one character); every other character stands for itself. A pattern ending
// in ".*" also matches the name without an extension.
bool matchesWildcard(const QString &name, const QString &pattern, Qt::CaseSensitivity cs);

// Path rewritten with every component as the file system stores it, or empty
// when a component does not exist. storedName(prefix) reports the stored name
// of the last component of prefix, or nothing when there is no such entry.
// A bare root gives the root.
// The length of the root that starts path: form.rootLength, or for a network
// path in the Windows form the whole "\\server\share\".
int rootLengthOf(const QString &path, const PathForm &form);
using StoredNameLookup = std::function<std::optional<QString>(const QString &prefix)>;
QString GetLongPath(const QString &path, const PathForm &form, const StoredNameLookup &storedName);
// On this platform: a relative path is taken from the current folder, "."
// components and repeated separators are dropped, and each component must
// exist; its spelling is the stored one.
QString GetLongPath(const QString &path);

// Creates every missing folder along path, from the root downwards, each only
// when missing. Returns true when the whole path exists; false as soon as a
// folder cannot be created. The pure form asks exists(prefix) about prefixes
// ending with a separator and calls create(folder) without it.
bool MakeFolderPath(const QString &path, const PathForm &form,
                    const std::function<bool(const QString &)> &exists,
                    const std::function<bool(const QString &)> &create);
// On this platform; error (when given) receives the folder that failed.
bool MakeFolderPath(const QString &path, QString *error = nullptr);

// True when path names a file that can be opened for reading (one trailing
// separator is ignored). Folders and unreadable files give false.
bool FileExists(const QString &path);

// A directory lookup of path: true when an entry exists, a file or a folder.
// The last component may hold the wildcards "*" and "?"; a path ending with a
// separator looks inside that folder (true when the folder exists); an empty
// path looks in the current folder (true).
bool FolderExists(const QString &path);

// True when path names an existing folder: FolderExists and a real directory,
// so neither a file nor a wildcard pattern passes.
bool IsExistingFolder(const QString &path);

} // namespace quarvel
