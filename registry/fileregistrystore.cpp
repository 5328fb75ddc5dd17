#include "fileregistrystore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace quarvel {

namespace {

constexpr char kDefaultValueName[] = "@";
// Kept readable in value bytes: they cannot be confused with the syntax of a
// line, since the value runs to the end of it.
constexpr char kReadableInValues[] = " /\\:";

const RegKey kRoots[] = {RegKey::ClassesRoot, RegKey::LocalMachine, RegKey::CurrentUser};

} // namespace

FileRegistryStore::FileRegistryStore(QString filePath)
    : mFilePath(std::move(filePath))
{
}

bool FileRegistryStore::refresh()
{
    clear();
    QFile file(mFilePath);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    parse(file.readAll());
    return true;
}

bool FileRegistryStore::persist()
{
    const QString folder = QFileInfo(mFilePath).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    QSaveFile file(mFilePath);
    // Writing in place could leave a truncated store behind.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = serialize();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void FileRegistryStore::parse(const QByteArray &text)
{
    Node *current = nullptr;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(';'))
            continue;

        if (line.startsWith('[') && line.endsWith(']')) {
            const QList<QByteArray> levels = line.mid(1, line.size() - 2).split('\\');
            current = nullptr;
            for (RegKey which : kRoots) {
                if (levels.first() == regRootName(which).toLatin1())
                    current = &root(which);
            }
            for (qsizetype i = 1; current && i < levels.size(); ++i) {
                const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(levels[i]));
                if (name.isEmpty()) {
                    current = nullptr;
                    break;
                }
                auto it = current->children.try_emplace(fold(name), Node{name, {}, {}}).first;
                current = &it->second;
            }
            continue;
        }

        // A value line, belonging to the last key; lines that do not parse
        // are dropped rather than guessed at.
        const qsizetype equals = line.indexOf('=');
        const qsizetype colon = line.indexOf(':', equals + 1);
        if (!current || equals <= 0 || colon < 0)
            continue;
        bool typeOk = false;
        const RegValueType type = line.mid(equals + 1, colon - equals - 1).toUInt(&typeOk);
        if (!typeOk)
            continue;
        const QByteArray rawName = line.left(equals);
        const QString name = rawName == kDefaultValueName
                                 ? QString()
                                 : QString::fromUtf8(QByteArray::fromPercentEncoding(rawName));
        current->values[fold(name)] = Value{name, type, QByteArray::fromPercentEncoding(line.mid(colon + 1))};
    }
}

QByteArray FileRegistryStore::serialize()
{
    QByteArray out = "; Registry keys of the Quarvel file association.\n";
    // Depth first, so that every key follows the key above it; keys without
    // values are written too, since they exist.
    const auto writeKey = [&out](const auto &self, const Node &node, const QByteArray &path,
                                 bool header) -> void {
        if (header) {
            out += '[' + path + "]\n";
            for (const auto &[folded, value] : node.values) {
                out += value.name.isEmpty() ? QByteArray(kDefaultValueName)
                                            : value.name.toUtf8().toPercentEncoding();
                out += '=' + QByteArray::number(value.type) + ':'
                       + value.data.toPercentEncoding(kReadableInValues) + '\n';
            }
        }
        for (const auto &[folded, child] : node.children)
            self(self, child, path + '\\' + child.name.toUtf8().toPercentEncoding(), true);
    };
    for (RegKey which : kRoots) {
        const Node &node = root(which);
        writeKey(writeKey, node, regRootName(which).toLatin1(), !node.values.empty());
    }
    return out;
}

} // namespace quarvel
