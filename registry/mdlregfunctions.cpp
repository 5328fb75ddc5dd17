#include "mdlregfunctions.h"

#include "desktopintegration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <iterator>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shlobj.h>
#endif

namespace quarvel {

// One associated extension: its class in the registry and its MIME type on
// the Linux desktop.
struct RegFileClass
{
    QString extension;
    QString className;
    QString description;
    QString mimeType;
};

namespace {

const RegFileClass kSlideClass{QStringLiteral(".sld"), QStringLiteral("AutoCADSlide"),
                               QStringLiteral("AutoCAD Slide"), QLatin1String(kSlideMimeType)};
const RegFileClass kLibraryClass{QStringLiteral(".slb"), QStringLiteral("AutoCADSlideLibrary"),
                                 QStringLiteral("AutoCAD Slide Library"),
                                 QLatin1String(kLibraryMimeType)};

// The buffer that a value is read into: 254 characters and the NUL.
constexpr qsizetype kValueBufferSize = 255;

const QString kClassesPrefix = QStringLiteral("Software\\CLASSES\\");
const QString kOpenCommandKey = QStringLiteral("\\Shell\\open\\command");
const QString kShellKey = QStringLiteral("\\Shell");

// The two places that hold the association: the merged class view, and the
// machine's own classes.
struct ClassesRoot
{
    RegKey root;
    QString prefix;
};

const ClassesRoot kClassesRoots[] = {
    {RegKey::ClassesRoot, QString()},
    {RegKey::LocalMachine, kClassesPrefix},
};

// The user's own classes: writable without administrator rights, and shown
// to that user in HKEY_CLASSES_ROOT ahead of the machine's.
const ClassesRoot kUserClasses{RegKey::CurrentUser, QStringLiteral("Software\\Classes\\")};

QString joinOnce(const QString &folder, const QString &name, QChar separator)
{
    return folder.endsWith(separator) ? folder + name : folder + separator + name;
}

// Tells the Windows shell that file associations changed, so that Explorer
// shows and uses them without a restart.
void notifyShell()
{
#ifdef Q_OS_WIN
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
#endif
}

} // namespace

QString windowsOpenCommand(const QString &folder, const QString &fileName, QChar separator)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString baseName = dot < 0 ? fileName : fileName.left(dot);
    return joinOnce(folder, baseName, separator) + QStringLiteral(".EXE %1");
}

QString unixOpenCommand(const QString &folder, const QString &fileName)
{
    return joinOnce(folder, fileName, u'/') + QStringLiteral(" %1");
}

QString openCommandFor(const QString &programPath)
{
    const QFileInfo info(programPath);
#ifdef Q_OS_WIN
    return windowsOpenCommand(QDir::toNativeSeparators(info.absolutePath()), info.fileName());
#else
    return unixOpenCommand(info.absolutePath(), info.fileName());
#endif
}

mdlRegFunctions::mdlRegFunctions()
    : mOwnedRegistry(createPlatformRegistry())
    , mRegistry(mOwnedRegistry.get())
    , mDesktop(nullptr)
    , mOpenCommand(openCommandFor(QCoreApplication::applicationFilePath()))
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    mOwnedDesktop = std::make_unique<DesktopIntegration>(QCoreApplication::applicationFilePath());
    mDesktop = mOwnedDesktop.get();
#endif
}

mdlRegFunctions::mdlRegFunctions(RegistryStore &registry, const QString &programPath,
                                 DesktopIntegration *desktop)
    : mRegistry(&registry)
    , mDesktop(desktop)
    , mOpenCommand(openCommandFor(programPath))
{
}

mdlRegFunctions::~mdlRegFunctions() = default;

void mdlRegFunctions::CreateKey(RegKey root, const QString &key)
{
    RegKey opened = RegKey::Null;
    if (mRegistry->createKey(root, key, &opened) == kRegSuccess)
        mRegistry->closeKey(opened);
}

RegResult mdlRegFunctions::SetKeyValue(RegKey key, const QString &valueName, RegValueType type,
                                       const QString &value)
{
    QByteArray data = value.toUtf8();
    data.append('\0');
    return mRegistry->setValue(key, valueName, type, data);
}

bool mdlRegFunctions::KeyValueIs(RegKey root, const QString &key, const QString &expected)
{
    RegKey opened = RegKey::Null;
    if (mRegistry->openKey(root, key, &opened) != kRegSuccess)
        return false;
    RegValueType type = 0;
    QByteArray data;
    const RegResult result = mRegistry->queryValue(opened, QString(), &type, &data, kValueBufferSize);
    mRegistry->closeKey(opened);
    if (result != kRegSuccess || type != kRegSz)
        return false;
    // The terminating NUL is not part of the text; a value stored without
    // one keeps its last character.
    if (data.endsWith('\0'))
        data.chop(1);
    return QString::fromUtf8(data).toUpper() == expected.toUpper();
}

RegResult mdlRegFunctions::writeDefaultValue(RegKey root, const QString &key, const QString &value,
                                             bool create)
{
    RegKey opened = RegKey::Null;
    const RegResult result = create ? mRegistry->createKey(root, key, &opened) : mRegistry->openKey(root, key, &opened);
    if (result != kRegSuccess)
        return result;
    const RegResult written = SetKeyValue(opened, QString(), kRegSz, value);
    mRegistry->closeKey(opened);
    return written;
}

bool mdlRegFunctions::IsAssociated()
{
    const auto holds = [this](const ClassesRoot &classes) {
        for (const RegFileClass *fileClass : {&kSlideClass, &kLibraryClass}) {
            if (!KeyValueIs(classes.root, classes.prefix + fileClass->extension, fileClass->className))
                return false;
            if (!KeyValueIs(classes.root, classes.prefix + fileClass->className + kOpenCommandKey,
                            mOpenCommand))
                return false;
        }
        return true;
    };
    return std::all_of(std::begin(kClassesRoots), std::end(kClassesRoots), holds) || holds(kUserClasses);
}

void mdlRegFunctions::associate(const RegFileClass &fileClass)
{
    // The first refusal of a root; success when it took everything.
    const auto write = [&](const ClassesRoot &classes) {
        const QString classKey = classes.prefix + fileClass.className;
        const RegResult extension =
            writeDefaultValue(classes.root, classes.prefix + fileClass.extension, fileClass.className, true);
        const RegResult command = writeDefaultValue(classes.root, classKey + kOpenCommandKey, mOpenCommand, true);
        // The class key exists by now: creating the open command made it.
        writeDefaultValue(classes.root, classKey, fileClass.description, false);
        return extension != kRegSuccess ? extension : command;
    };
    // Without administrator rights the machine's classes refuse the change;
    // the user's own classes take it instead.
    bool refused = false;
    for (const ClassesRoot &classes : kClassesRoots)
        refused = write(classes) == kRegAccessDenied || refused;
    if (refused)
        write(kUserClasses);
    if (mDesktop)
        mDesktop->associate(fileClass.mimeType);
    notifyShell();
}

void mdlRegFunctions::AssociateSld()
{
    associate(kSlideClass);
}

void mdlRegFunctions::AssociateSlb()
{
    associate(kLibraryClass);
}

void mdlRegFunctions::RemoveAssociation()
{
    for (const ClassesRoot &classes : {kClassesRoots[0], kClassesRoots[1], kUserClasses}) {
        for (const RegFileClass *fileClass : {&kSlideClass, &kLibraryClass}) {
            RegKey opened = RegKey::Null;
            if (mRegistry->openKey(classes.root, classes.prefix + fileClass->className + kShellKey,
                                   &opened)
                != kRegSuccess)
                continue;
            mRegistry->deleteKey(opened, QString());
            mRegistry->closeKey(opened);
        }
    }
    if (mDesktop)
        mDesktop->remove();
    notifyShell();
}

} // namespace quarvel
