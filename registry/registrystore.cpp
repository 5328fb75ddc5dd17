#include "registrystore.h"

#include "fileregistrystore.h"

#ifdef Q_OS_WIN
#include "winregistrystore.h"
#endif

#include <QStandardPaths>

namespace quarvel {

QString regRootName(RegKey root)
{
    switch (root) {
    case RegKey::ClassesRoot:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    case RegKey::LocalMachine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case RegKey::CurrentUser:
        return QStringLiteral("HKEY_CURRENT_USER");
    default:
        return {};
    }
}

QString defaultRegistryFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Quarvel/registry.ini");
}

std::unique_ptr<RegistryStore> createPlatformRegistry()
{
#ifdef Q_OS_WIN
    return std::make_unique<WinRegistryStore>();
#else
    return std::make_unique<FileRegistryStore>(defaultRegistryFilePath());
#endif
}

} // namespace quarvel
