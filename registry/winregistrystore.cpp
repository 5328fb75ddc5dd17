#include "winregistrystore.h"

#ifdef Q_OS_WIN

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace quarvel {

namespace {

HKEY toHkey(RegKey key)
{
    switch (key) {
    case RegKey::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegKey::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegKey::CurrentUser:
        return HKEY_CURRENT_USER;
    default:
        return reinterpret_cast<HKEY>(static_cast<quintptr>(key));
    }
}

RegKey fromHkey(HKEY key)
{
    return static_cast<RegKey>(reinterpret_cast<quintptr>(key));
}

bool isText(RegValueType type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

} // namespace

RegResult WinRegistryStore::createKey(RegKey parent, const QString &subKey, RegKey *result)
{
    HKEY opened = nullptr;
    const LONG rc = RegCreateKeyExW(toHkey(parent), subKey.toStdWString().c_str(), 0, nullptr,
                                    REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &opened,
                                    nullptr);
    *result = rc == ERROR_SUCCESS ? fromHkey(opened) : RegKey::Null;
    return rc;
}

RegResult WinRegistryStore::openKey(RegKey parent, const QString &subKey, RegKey *result)
{
    HKEY opened = nullptr;
    // Full access includes DELETE, which deleting an opened key needs.
    const LONG rc = RegOpenKeyExW(toHkey(parent), subKey.toStdWString().c_str(), 0,
                                  KEY_ALL_ACCESS, &opened);
    *result = rc == ERROR_SUCCESS ? fromHkey(opened) : RegKey::Null;
    return rc;
}

RegResult WinRegistryStore::setValue(RegKey key, const QString &valueName, RegValueType type,
                                     const QByteArray &data)
{
    const std::wstring name = valueName.toStdWString();
    if (!isText(type)) {
        return RegSetValueExW(toHkey(key), name.c_str(), 0, type,
                              reinterpret_cast<const BYTE *>(data.constData()),
                              static_cast<DWORD>(data.size()));
    }
    // UTF-8 with its NUL in, UTF-16 with its NUL out.
    QByteArray text = data;
    while (text.endsWith('\0'))
        text.chop(1);
    const std::wstring wide = QString::fromUtf8(text).toStdWString();
    return RegSetValueExW(toHkey(key), name.c_str(), 0, type,
                          reinterpret_cast<const BYTE *>(wide.c_str()),
                          static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

RegResult WinRegistryStore::queryValue(RegKey key, const QString &valueName, RegValueType *type,
                                       QByteArray *data, qsizetype capacity)
{
    data->clear();
    const std::wstring name = valueName.toStdWString();
    DWORD storedType = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(toHkey(key), name.c_str(), nullptr, &storedType, nullptr, &size);
    if (rc != ERROR_SUCCESS)
        return rc;
    *type = storedType;

    // Room for a terminating NUL that the stored text may lack.
    std::vector<BYTE> buffer(size + sizeof(wchar_t), 0);
    DWORD got = size;
    rc = RegQueryValueExW(toHkey(key), name.c_str(), nullptr, &storedType, buffer.data(), &got);
    if (rc != ERROR_SUCCESS)
        return rc;

    QByteArray bytes;
    if (isText(storedType)) {
        QString text = QString::fromWCharArray(reinterpret_cast<const wchar_t *>(buffer.data()),
                                               static_cast<qsizetype>(got / sizeof(wchar_t)));
        while (text.endsWith(QChar(0)))
            text.chop(1);
        bytes = text.toUtf8();
        bytes.append('\0');
    } else {
        bytes = QByteArray(reinterpret_cast<const char *>(buffer.data()), static_cast<qsizetype>(got));
    }
    if (bytes.size() > capacity)
        return ERROR_MORE_DATA;
    *data = bytes;
    return ERROR_SUCCESS;
}

RegResult WinRegistryStore::deleteKey(RegKey key, const QString &subKey)
{
    // RegDeleteKey alone refuses a key with subkeys on NT; clear the tree
    // first, then remove the key that is left.
    if (!subKey.isEmpty())
        return RegDeleteTreeW(toHkey(key), subKey.toStdWString().c_str());
    const LONG rc = RegDeleteTreeW(toHkey(key), nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    return RegDeleteKeyW(toHkey(key), L"");
}

RegResult WinRegistryStore::closeKey(RegKey key)
{
    return RegCloseKey(toHkey(key));
}

} // namespace quarvel

#endif // Q_OS_WIN
