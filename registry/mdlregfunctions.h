#pragma once

// The file association of .sld and .slb files with the program. The
// association is written to the registry (on Windows the system registry,
// elsewhere the program's own store) under both HKEY_CLASSES_ROOT and
// HKEY_LOCAL_MACHINE\Software\CLASSES (where these refuse the change, as
// they do for a user without administrator rights, under the user's own
// HKEY_CURRENT_USER\Software\Classes instead):
//
//   .sld -> "AutoCADSlide"         AutoCADSlide\Shell\open\command -> open command
//   .slb -> "AutoCADSlideLibrary"  AutoCADSlideLibrary\Shell\open\command -> open command
//
// and on Linux the desktop is kept in step (DesktopIntegration), so that a
// file manager opens the files with the program as well. The module keeps no
// state of its own: every call works on the registry alone, and no failure is
// reported; a key that cannot be created or opened is skipped.

#include "registrystore.h"

#include <QString>

#include <memory>

namespace quarvel {

class DesktopIntegration;
struct RegFileClass;

// The open command of the Windows registry: folder, one separator (not
// doubled when folder is a drive root that already ends with one), the file
// name without its extension, then ".EXE %1". "C:\Tools" and "Quarvel.exe"
// give "C:\Tools\Quarvel.EXE %1".
QString windowsOpenCommand(const QString &folder, const QString &fileName, QChar separator = u'\\');
// The same for a Unix program, which has no extension to replace: folder,
// "/", the file name, " %1".
QString unixOpenCommand(const QString &folder, const QString &fileName);
// The open command of this platform for the program at programPath.
QString openCommandFor(const QString &programPath);

class mdlRegFunctions
{
public:
    // The running program, in this platform's registry, and on Linux the
    // user's desktop.
    mdlRegFunctions();
    // The program at programPath in registry; desktop, when given, is kept
    // in step with it.
    mdlRegFunctions(RegistryStore &registry, const QString &programPath,
                    DesktopIntegration *desktop = nullptr);
    ~mdlRegFunctions();

    mdlRegFunctions(const mdlRegFunctions &) = delete;
    mdlRegFunctions &operator=(const mdlRegFunctions &) = delete;

    // Whether both extensions are associated with this copy of the program:
    // the extension keys name the classes and the classes' open commands are
    // this program's, under both roots or under the user's own classes. The
    // class descriptions do not count.
    bool IsAssociated();
    // Write the association of one extension: extension key, open command
    // and class description, under both roots, and under the user's own
    // classes when a root refused it. Existing values are overwritten;
    // nothing else is touched. The shell is told of the change.
    void AssociateSld();
    void AssociateSlb();
    // Removes the Shell key (and so the open command) of both classes under
    // both roots and the user's own classes. The extension keys and the class
    // descriptions stay.
    void RemoveAssociation();

    // Creates root\key when it is missing.
    void CreateKey(RegKey root, const QString &key);
    // Writes value as one value of an open key, as text with its NUL;
    // returns the registry's result.
    RegResult SetKeyValue(RegKey key, const QString &valueName, RegValueType type,
                          const QString &value);
    // Whether the default value of root\key is the text expected, compared
    // without regard to case. A missing key or value, a value of another
    // type, and a value that does not fit the 255-byte buffer all give false.
    bool KeyValueIs(RegKey root, const QString &key, const QString &expected);

    const QString &openCommand() const { return mOpenCommand; }

private:
    void associate(const RegFileClass &fileClass);
    // Writes the default value of root\key, creating the key first when
    // create is set; skipped when the key cannot be opened. Returns the
    // registry's first failure.
    RegResult writeDefaultValue(RegKey root, const QString &key, const QString &value, bool create);

    std::unique_ptr<RegistryStore> mOwnedRegistry;
    std::unique_ptr<DesktopIntegration> mOwnedDesktop;
    RegistryStore *mRegistry;
    DesktopIntegration *mDesktop;
    QString mOpenCommand;
};

} // namespace quarvel
