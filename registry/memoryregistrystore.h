#pragma once

// A registry kept in memory with the rules of the Windows registry that the
// file association relies on: names compare without regard to case but keep
// the spelling they were created with, creating a key creates the keys above
// it, deleting a key takes everything below it, and a handle to a deleted key
// fails from then on. FileRegistryStore adds persistence on top of it.

#include "registrystore.h"

#include <QStringList>

#include <map>
#include <set>

namespace quarvel {

class MemoryRegistryStore : public RegistryStore
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

    // Whether root\path exists; for tests and for callers that only look.
    bool keyExists(RegKey root, const QString &path);
    // From now on every change under root (creating a key, writing a value,
    // deleting a key) fails with kRegAccessDenied, as the machine's keys do
    // for a user without administrator rights; reading still works.
    void refuseChanges(RegKey root) { mRefused.insert(root); }

protected:
    struct Value
    {
        QString name;
        RegValueType type = 0;
        QByteArray data;
    };
    struct Node
    {
        QString name;
        std::map<QString, Node> children;   // by folded name
        std::map<QString, Value> values;    // by folded name
    };

    // Called before every operation, so that a derived store can pick up
    // what another process wrote; false refuses the operation.
    virtual bool refresh() { return true; }
    // Called after every change; false reports the change as failed.
    virtual bool persist() { return true; }

    // The predefined roots, for loading and saving.
    Node &root(RegKey which)
    {
        return which == RegKey::ClassesRoot ? mClassesRoot
               : which == RegKey::CurrentUser ? mCurrentUser
                                               : mLocalMachine;
    }
    static bool isRoot(RegKey key)
    {
        return key == RegKey::ClassesRoot || key == RegKey::LocalMachine || key == RegKey::CurrentUser;
    }
    void clear();

    static QString fold(const QString &name) { return name.toUpper(); }

private:
    struct OpenKey
    {
        RegKey root;
        QStringList path;   // folded names from the root down
    };

    // The root and folded path that key stands for; false for an unknown
    // handle.
    bool resolve(RegKey key, OpenKey *where) const;
    // The node at where, or null when it no longer exists.
    Node *find(const OpenKey &where);
    // The common start of every call on an open key: the store re-read, the
    // handle resolved and its key still present. Sets *result and returns
    // null when any of these fails.
    Node *openNode(RegKey key, OpenKey *where, RegResult *result);
    RegResult openOrCreate(RegKey parent, const QString &subKey, bool create, RegKey *result);
    RegKey issueHandle(OpenKey where);

    Node mClassesRoot;
    Node mLocalMachine;
    Node mCurrentUser;
    std::set<RegKey> mRefused;
    std::map<quintptr, OpenKey> mHandles;
    quintptr mNextHandle = 0x100;
};

} // namespace quarvel
