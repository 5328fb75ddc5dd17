#pragma once

// The system registry of Windows. Text values travel through the Unicode
// calls, so a program folder whose name lies outside the ANSI code page is
// still written as it is rather than as question marks.

#include "registrystore.h"

namespace quarvel {

class WinRegistryStore : public RegistryStore
{
public:
    RegResult createKey(RegKey parent, const QString &subKey, RegKey *result) override;
    RegResult openKey(RegKey parent, const QString &subKey, RegKey *result) override;
    RegResult setValue(RegKey key, const QString &valueName, RegValueType type,
                       const QByteArray &data) override;
    RegResult queryValue(RegKey key, const QString &valueName, RegValueType *type,
                         QByteArray *data, qsizetype capacity) override;
    RegResult deleteKey(RegKey key, const QString &subKey) override;
    RegResult closeKey(RegKey key) override;
};

} // namespace quarvel
