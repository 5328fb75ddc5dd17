#include "memoryregistrystore.h"

namespace quarvel {

namespace {

// The levels of a key path; false when a level is empty ("\a", "a\\b"),
// which the registry refuses as a bad path name.
bool splitKeyPath(const QString &subKey, QStringList *parts)
{
    parts->clear();
    if (subKey.isEmpty())
        return true;
    *parts = subKey.split(u'\\');
    for (const QString &part : *parts) {
        if (part.isEmpty())
            return false;
    }
    return true;
}

} // namespace

void MemoryRegistryStore::clear()
{
    mClassesRoot = Node{};
    mLocalMachine = Node{};
    mCurrentUser = Node{};
}

bool MemoryRegistryStore::resolve(RegKey key, OpenKey *where) const
{
    if (isRoot(key)) {
        *where = OpenKey{key, {}};
        return true;
    }
    const auto it = mHandles.find(static_cast<quintptr>(key));
    if (it == mHandles.end())
        return false;
    *where = it->second;
    return true;
}

MemoryRegistryStore::Node *MemoryRegistryStore::find(const OpenKey &where)
{
    Node *node = &root(where.root);
    for (const QString &name : where.path) {
        const auto it = node->children.find(name);
        if (it == node->children.end())
            return nullptr;
        node = &it->second;
    }
    return node;
}

MemoryRegistryStore::Node *MemoryRegistryStore::openNode(RegKey key, OpenKey *where, RegResult *result)
{
    if (!refresh()) {
        *result = kRegIoFailed;
        return nullptr;
    }
    if (!resolve(key, where)) {
        *result = kRegInvalidHandle;
        return nullptr;
    }
    Node *node = find(*where);
    if (!node)
        *result = kRegKeyDeleted;
    return node;
}

RegKey MemoryRegistryStore::issueHandle(OpenKey where)
{
    const quintptr handle = mNextHandle++;
    mHandles.emplace(handle, std::move(where));
    return static_cast<RegKey>(handle);
}

RegResult MemoryRegistryStore::openOrCreate(RegKey parent, const QString &subKey, bool create,
                                            RegKey *result)
{
    *result = RegKey::Null;
    OpenKey where;
    RegResult failure = kRegSuccess;
    Node *node = openNode(parent, &where, &failure);
    if (!node)
        return failure;
    QStringList parts;
    if (!splitKeyPath(subKey, &parts))
        return kRegBadPathname;

    bool created = false;
    for (const QString &part : parts) {
        const QString folded = fold(part);
        auto it = node->children.find(folded);
        if (it == node->children.end()) {
            if (!create)
                return kRegFileNotFound;
            if (mRefused.count(where.root))
                return kRegAccessDenied;
            it = node->children.emplace(folded, Node{part, {}, {}}).first;
            created = true;
        }
        node = &it->second;
        where.path << folded;
    }
    if (created && !persist())
        return kRegIoFailed;
    *result = issueHandle(std::move(where));
    return kRegSuccess;
}

RegResult MemoryRegistryStore::createKey(RegKey parent, const QString &subKey, RegKey *result)
{
    return openOrCreate(parent, subKey, true, result);
}

RegResult MemoryRegistryStore::openKey(RegKey parent, const QString &subKey, RegKey *result)
{
    return openOrCreate(parent, subKey, false, result);
}

RegResult MemoryRegistryStore::setValue(RegKey key, const QString &valueName, RegValueType type,
                                        const QByteArray &data)
{
    OpenKey where;
    RegResult failure = kRegSuccess;
    Node *node = openNode(key, &where, &failure);
    if (!node)
        return failure;
    if (mRefused.count(where.root))
        return kRegAccessDenied;
    const auto [it, inserted] = node->values.try_emplace(fold(valueName), Value{valueName, type, data});
    if (!inserted) {
        it->second.type = type;
        it->second.data = data;
    }
    return persist() ? kRegSuccess : kRegIoFailed;
}

RegResult MemoryRegistryStore::queryValue(RegKey key, const QString &valueName, RegValueType *type,
                                          QByteArray *data, qsizetype capacity)
{
    data->clear();
    OpenKey where;
    RegResult failure = kRegSuccess;
    Node *node = openNode(key, &where, &failure);
    if (!node)
        return failure;
    const auto it = node->values.find(fold(valueName));
    if (it == node->values.end())
        return kRegFileNotFound;
    *type = it->second.type;
    if (it->second.data.size() > capacity)
        return kRegMoreData;
    *data = it->second.data;
    return kRegSuccess;
}

RegResult MemoryRegistryStore::deleteKey(RegKey key, const QString &subKey)
{
    OpenKey where;
    RegResult failure = kRegSuccess;
    if (!openNode(key, &where, &failure))
        return failure;
    QStringList parts;
    if (!splitKeyPath(subKey, &parts))
        return kRegBadPathname;
    for (const QString &part : parts)
        where.path << fold(part);
    // The predefined roots themselves cannot be deleted.
    if (where.path.isEmpty() || mRefused.count(where.root))
        return kRegAccessDenied;

    const QString target = where.path.takeLast();
    Node *parent = find(where);
    if (!parent || parent->children.erase(target) == 0)
        return kRegFileNotFound;
    return persist() ? kRegSuccess : kRegIoFailed;
}

RegResult MemoryRegistryStore::closeKey(RegKey key)
{
    if (isRoot(key))
        return kRegSuccess;
    return mHandles.erase(static_cast<quintptr>(key)) == 1 ? kRegSuccess : kRegInvalidHandle;
}

bool MemoryRegistryStore::keyExists(RegKey root, const QString &path)
{
    QStringList parts;
    if (!refresh() || !splitKeyPath(path, &parts))
        return false;
    OpenKey where{root, {}};
    for (const QString &part : parts)
        where.path << fold(part);
    return find(where) != nullptr;
}

} // namespace quarvel
