#pragma once

// The registry calls that the file association needs, behind one interface:
// create a key, open an existing key, write and read a value, delete a key
// with everything below it, close a key. On Windows it is the system
// registry; elsewhere a store of our own that keeps the same rules (see
// MemoryRegistryStore and FileRegistryStore), so the association logic is the
// same code on every platform and can be tested without Windows.
//
// Results are Windows registry result codes: 0 is success, anything else a
// failure. Key and value names compare without regard to letter case, and
// "\" separates the levels of a key path.

#include <QByteArray>
#include <QString>

#include <memory>

namespace quarvel {

// A key: one of the predefined roots, or a handle returned by createKey or
// openKey of the store that issued it.
enum class RegKey : quintptr {
    Null = 0,
    ClassesRoot = 1,    // HKEY_CLASSES_ROOT
    LocalMachine = 2,   // HKEY_LOCAL_MACHINE
    CurrentUser = 3,    // HKEY_CURRENT_USER
};

using RegResult = long;
using RegValueType = quint32;

inline constexpr RegResult kRegSuccess = 0;
inline constexpr RegResult kRegFileNotFound = 2;        // ERROR_FILE_NOT_FOUND
inline constexpr RegResult kRegAccessDenied = 5;        // ERROR_ACCESS_DENIED
inline constexpr RegResult kRegInvalidHandle = 6;       // ERROR_INVALID_HANDLE
inline constexpr RegResult kRegBadPathname = 161;       // ERROR_BAD_PATHNAME
inline constexpr RegResult kRegMoreData = 234;          // ERROR_MORE_DATA
inline constexpr RegResult kRegIoFailed = 1016;         // ERROR_REGISTRY_IO_FAILED
inline constexpr RegResult kRegKeyDeleted = 1018;       // ERROR_KEY_DELETED

inline constexpr RegValueType kRegSz = 1;   // REG_SZ

// The printable name of a predefined root ("HKEY_CLASSES_ROOT"), empty for
// anything else.
QString regRootName(RegKey root);

class RegistryStore
{
public:
    virtual ~RegistryStore() = default;

    // Opens parent\subKey with full access, creating it and every missing key
    // above it first. An empty subKey opens parent itself.
    virtual RegResult createKey(RegKey parent, const QString &subKey, RegKey *result) = 0;
    // Opens parent\subKey with full access; fails with kRegFileNotFound when
    // the key does not exist.
    virtual RegResult openKey(RegKey parent, const QString &subKey, RegKey *result) = 0;
    // Writes one value of key; an empty valueName is the key's default value.
    // A REG_SZ value is UTF-8 text followed by one NUL byte, and the NUL is
    // part of data.
    virtual RegResult setValue(RegKey key, const QString &valueName, RegValueType type,
                               const QByteArray &data) = 0;
    // Reads one value of key into *data when it holds at most capacity bytes;
    // a larger value fails with kRegMoreData and leaves *data empty. *type
    // receives the value's type whenever the value exists.
    virtual RegResult queryValue(RegKey key, const QString &valueName, RegValueType *type,
                                 QByteArray *data, qsizetype capacity) = 0;
    // Deletes key\subKey together with every key and value below it; an empty
    // subKey deletes key itself. Handles still open on a deleted key fail with
    // kRegKeyDeleted from then on.
    virtual RegResult deleteKey(RegKey key, const QString &subKey) = 0;
    // Releases a handle. Closing a predefined root does nothing.
    virtual RegResult closeKey(RegKey key) = 0;
};

// The per-user file that stands in for the registry where there is none:
// "Quarvel/registry.ini" in the user's configuration folder.
QString defaultRegistryFilePath();

// The registry of this platform: the system registry on Windows, the store
// in defaultRegistryFilePath() elsewhere.
std::unique_ptr<RegistryStore> createPlatformRegistry();

} // namespace quarvel
