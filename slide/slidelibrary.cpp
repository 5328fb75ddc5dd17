#include "slidelibrary.h"

#include "savefile.h"
#include "slideerror.h"
#include "wmfwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace quarvel {

const char kLibraryId[32] = {'A', 'u', 't', 'o', 'C', 'A', 'D', ' ', 'S', 'l', 'i',
                             'd', 'e', ' ', 'L', 'i', 'b', 'r', 'a', 'r', 'y', ' ',
                             '1', '.', '0', '\r', '\n', '\x1a', 0, 0, 0, 0};

namespace {

constexpr qsizetype kHeaderSize = 32;
constexpr qsizetype kEntrySize = 36;
constexpr qsizetype kNameField = 32;
constexpr qsizetype kCheckedIdBytes = 28;   // the text, CR, LF, ^Z; the NULs vary in the wild
constexpr qint64 kMaxFileSize = qint64(1) << 30;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Reads a whole file; throws SlideError with the system's reason.
QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SlideError(native(path), QStringLiteral("cannot read: %1").arg(file.errorString()));
    if (file.size() > kMaxFileSize)
        throw SlideError(native(path), QStringLiteral("cannot read: the file is larger than 1 GiB"));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw SlideError(native(path), QStringLiteral("cannot read: %1").arg(file.errorString()));
    return bytes;
}

quint32 readLe32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return u[0] | (u[1] << 8) | (u[2] << 16) | (quint32(u[3]) << 24);
}

void putLe32(char *p, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

} // namespace

SlideLibrary::SlideLibrary(NameCodec codec)
    : mCodec(std::move(codec))
{
}

QString SlideLibrary::nameFromPath(const QString &path)
{
    return QFileInfo(path).completeBaseName();
}

QString SlideLibrary::fileForErrors() const
{
    return mPath.isEmpty() ? QStringLiteral("new library") : native(mPath);
}

void SlideLibrary::setLibraryFile(const QString &path)
{
    mPath = path;
    mKind = Kind::None;
    mLoadError.clear();
    mProblems.clear();
    mEntries.clear();
    mSource.reset();
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw SlideError(native(path), QStringLiteral("cannot read: %1").arg(file.errorString()));
        const QFileInfo info(path);
        const qint64 size = file.size();
        const QByteArray head = file.peek(kHeaderSize);
        if (head.size() >= kCheckedIdBytes && std::memcmp(head.constData(), kLibraryId, kCheckedIdBytes) == 0) {
            mSource = std::make_shared<FileSource>(FileSource{path, size, info.lastModified().toMSecsSinceEpoch()});
            loadLibrary(file, size);
        } else if (hasSlideId(head.constData(), head.size())) {
            file.close();
            loadSingleSlide(readWholeFile(path));
        } else {
            mLoadError = SlideError(native(path), QStringLiteral("neither a slide library nor a slide")).message();
        }
    } catch (const SlideError &e) {
        mKind = Kind::None;
        mEntries.clear();
        mLoadError = e.message();
    }
}

void SlideLibrary::loadLibrary(QFile &file, qint64 fileSize)
{
    mKind = Kind::Library;
    const qint64 size = fileSize;
    if (size < kHeaderSize) {
        mProblems.push_back({size, QStringLiteral("file ends inside the library header")});
        return;
    }
    // The directory is read in growing chunks: only as much of the file as
    // the directory takes is ever read here.
    QByteArray directory;
    auto ensure = [&](qint64 needed) {
        while (directory.size() < needed && directory.size() < size) {
            const qint64 chunk = std::max<qint64>(64 * 1024, directory.size());
            const QByteArray more = file.read(std::min(chunk, size - directory.size()));
            if (more.isEmpty())
                throw SlideError(native(mPath), QStringLiteral("cannot read: %1").arg(file.errorString()));
            directory += more;
        }
    };

    struct Raw
    {
        qsizetype entryOffset;
        QByteArray name;
        qint64 address;
    };
    std::vector<Raw> raw;
    qint64 lowestAddress = size;   // the directory cannot run into slide data
    qsizetype pos = kHeaderSize;
    bool terminated = false;
    while (true) {
        if (pos >= lowestAddress) {
            mProblems.push_back({pos, QStringLiteral("directory has no terminating entry")});
            break;
        }
        if (pos + kEntrySize > size) {
            mProblems.push_back({pos, QStringLiteral("directory runs past the end of the file")});
            break;
        }
        ensure(pos + kEntrySize);
        const char *entry = directory.constData() + pos;
        if (entry[0] == '\0') {
            terminated = true;
            break;
        }
        const auto nameLength = static_cast<qsizetype>(strnlen(entry, kNameField));
        const qint64 address = readLe32(entry + kNameField);
        raw.push_back({pos, QByteArray(entry, nameLength), address});
        if (address >= pos + kEntrySize && address < lowestAddress)
            lowestAddress = address;
        pos += kEntrySize;
    }
    const qsizetype directoryEnd = terminated ? pos + kEntrySize : pos;

    std::vector<qint64> starts;
    starts.reserve(raw.size());
    for (const Raw &r : raw) {
        if (r.address >= directoryEnd && r.address < size)
            starts.push_back(r.address);
    }
    std::sort(starts.begin(), starts.end());

    mEntries.reserve(raw.size());
    for (const Raw &r : raw) {
        Entry e;
        e.name = r.name;
        e.display = mCodec.decode(r.name);
        if (r.name.size() > kMaxSlideNameBytes)
            e.nameError = QStringLiteral("the slide name \"%1\" fills all 32 bytes of its directory entry")
                              .arg(e.display);
        e.inFile = true;
        if (r.address < directoryEnd || r.address >= size) {
            e.readable = false;
            mProblems.push_back({r.entryOffset + kNameField,
                                 QStringLiteral("address %1 of slide \"%2\" lies %3")
                                     .arg(r.address)
                                     .arg(e.display)
                                     .arg(r.address < directoryEnd ? QStringLiteral("inside the directory")
                                                                   : QStringLiteral("past the end of the file"))});
        } else {
            e.offset = static_cast<qsizetype>(r.address);
            const auto next = std::upper_bound(starts.begin(), starts.end(), r.address);
            e.span = static_cast<qsizetype>((next == starts.end() ? size : *next) - r.address);
        }
        mEntries.push_back(std::move(e));
    }
}

void SlideLibrary::checkSourceUnchanged() const
{
    const QFileInfo info(mSource->path);
    if (!info.exists() || info.size() != mSource->size
        || info.lastModified().toMSecsSinceEpoch() != mSource->modified) {
        throw SlideError(native(mSource->path),
                         QStringLiteral("the file has changed since it was opened; open it again"));
    }
}

void SlideLibrary::stampSource(const QString &path)
{
    const QFileInfo info(path);
    mSource = std::make_shared<FileSource>(FileSource{path, info.size(), info.lastModified().toMSecsSinceEpoch()});
}

template<typename Write>
auto SlideLibrary::withFileBytes(Write &&write) const
{
    const bool needed = std::any_of(mEntries.begin(), mEntries.end(), [](const Entry &e) { return e.inFile; });
    if (!needed)
        return write(static_cast<const char *>(nullptr));
    checkSourceUnchanged();
    QFile file(mSource->path);
    if (!file.open(QIODevice::ReadOnly))
        throw SlideError(native(mSource->path), QStringLiteral("cannot read: %1").arg(file.errorString()));
#ifndef Q_OS_WIN
    // Mapped, the file's pages are used where they lie; a copy would cost a
    // fresh page for every 4 KiB of the library. (Windows cannot replace a
    // mapped file, so there the bytes are read.)
    if (const uchar *map = file.map(0, mSource->size); map && file.size() == mSource->size)
        return write(reinterpret_cast<const char *>(map));
#endif
    const QByteArray bytes = file.readAll();
    if (bytes.size() != mSource->size)
        throw SlideError(native(mSource->path), QStringLiteral("the file has changed since it was opened; open it again"));
    file.close();
    return write(bytes.constData());
}

QByteArray SlideLibrary::spanBytes(const Entry &e) const
{
    if (!e.inFile)
        return QByteArray::fromRawData(e.source.constData() + e.offset, e.span);
    checkSourceUnchanged();
    QFile file(mSource->path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(e.offset))
        throw SlideError(native(mSource->path), QStringLiteral("cannot read: %1").arg(file.errorString()));
    QByteArray bytes = file.read(e.span);
    if (bytes.size() != e.span)
        throw SlideError(native(mSource->path), QStringLiteral("cannot read: the file ends early"), e.offset);
    return bytes;
}

void SlideLibrary::loadSingleSlide(const QByteArray &bytes)
{
    mKind = Kind::Slide;
    Entry e;
    e.display = nameFromPath(mPath);
    if (auto encoded = mCodec.encodeNew(e.display, &e.nameError))
        e.name = *encoded;
    e.source = bytes;
    e.offset = 0;
    e.span = bytes.size();
    const DecodeResult r = decodeSlide(bytes);
    if (!r.isSlide) {
        mKind = Kind::None;
        mLoadError = SlideError(native(mPath), r.error, r.errorOffset).message();
        return;
    }
    if (!r.error.isEmpty())
        mProblems.push_back({r.errorOffset, r.error});
    if (r.reachedEnd)
        e.length = r.length;
    mEntries.push_back(std::move(e));
}

QString SlideLibrary::slideName(int index) const
{
    if (index < 0 || index >= slideCount())
        return {};
    return mEntries[index].display;
}

QByteArray SlideLibrary::slideNameBytes(int index) const
{
    if (index < 0 || index >= slideCount())
        return {};
    return mEntries[index].name;
}

int SlideLibrary::indexOf(const QString &name) const
{
    for (int i = 0; i < slideCount(); ++i) {
        if (mCodec.sameName(mEntries[i].display, name))
            return i;
    }
    return -1;
}

const SlideLibrary::Entry &SlideLibrary::entryAt(int index, const char *operation) const
{
    if (index < 0 || index >= slideCount()) {
        throw SlideError(fileForErrors(), QStringLiteral("%1: there is no slide number %2 (the library holds %3)")
                                              .arg(QLatin1String(operation))
                                              .arg(index)
                                              .arg(slideCount()));
    }
    const Entry &e = mEntries[index];
    if (!e.readable) {
        throw SlideError(fileForErrors(),
                         QStringLiteral("slide \"%1\" cannot be read: its directory address points outside the slide data")
                             .arg(e.display));
    }
    return e;
}

qsizetype SlideLibrary::slideLength(const Entry &e, int index) const
{
    if (e.length < 0) {
        const DecodeResult r = decodeSlide(spanBytes(e));
        if (!r.isSlide || !r.reachedEnd) {
            const qint64 base = mKind == Kind::Library ? e.offset : 0;
            throw SlideError(fileForErrors(),
                             QStringLiteral("slide \"%1\" is damaged: %2").arg(slideName(index), r.error),
                             base + r.errorOffset);
        }
        e.length = r.length;
    }
    return e.length;
}

QByteArray SlideLibrary::slideData(int index) const
{
    const Entry &e = entryAt(index, "read");
    const qsizetype length = slideLength(e, index);
    QByteArray bytes = spanBytes(e);
    bytes.truncate(length);
    bytes.detach();   // never hand out bytes that point into a shared buffer
    return bytes;
}

DecodeResult SlideLibrary::decode(int index, SlideDrawing *drawing) const
{
    const Entry &e = entryAt(index, "draw");
    const QByteArray bytes = spanBytes(e);
    DecodeResult r = decodeSlide(bytes, drawing);
    if (r.reachedEnd && e.length < 0)
        e.length = r.length;
    return r;
}

void SlideLibrary::exportToSld(const QString &target, int index) const
{
    saveFileAtomically(target, slideData(index));
}

void SlideLibrary::exportToWmf(const QString &target, int index, QColor background) const
{
    SlideDrawing drawing;
    const DecodeResult r = decode(index, &drawing);
    if (!r.isSlide) {
        throw SlideError(fileForErrors(), QStringLiteral("slide \"%1\" is not a slide: %2").arg(slideName(index), r.error),
                         r.errorOffset);
    }
    saveFileAtomically(target, slideToWmf(r.header, drawing, background));
}

QByteArray SlideLibrary::readSlideFile(const QString &path)
{
    QByteArray bytes = readWholeFile(path);
    const DecodeResult r = decodeSlide(bytes);
    if (!r.isSlide)
        throw SlideError(native(path),
                         r.error.startsWith(QLatin1String("not an AutoCAD slide"))
                             ? r.error
                             : QStringLiteral("not an AutoCAD slide: %1").arg(r.error),
                         r.errorOffset > 0 ? r.errorOffset : -1);
    if (!r.reachedEnd)
        throw SlideError(native(path), QStringLiteral("the slide is damaged: %1").arg(r.error), r.errorOffset);
    bytes.truncate(r.length);   // bytes after the end-of-file record are not part of the slide
    return bytes;
}

void SlideLibrary::appendEntry(const QByteArray &slide, const QByteArray &nameBytes)
{
    if (slideCount() >= kMaxLibrarySlides) {
        throw SlideError(fileForErrors(),
                         QStringLiteral("the library already holds %1 slides, the most it can").arg(kMaxLibrarySlides));
    }
    Entry e;
    e.name = nameBytes;
    e.display = mCodec.decode(nameBytes);
    e.source = slide;
    e.offset = 0;
    e.span = slide.size();
    e.length = slide.size();
    mEntries.push_back(std::move(e));
}

void SlideLibrary::addSlideFile(const QString &path)
{
    addSlideFile(path, nameFromPath(path));
}

void SlideLibrary::addSlideFile(const QString &path, const QString &name)
{
    QString why;
    const auto encoded = mCodec.encodeNew(name, &why);
    // Check the slide first: a file that is not a slide is the more basic fault.
    const QByteArray slide = readSlideFile(path);
    if (!encoded)
        throw SlideError(native(path), why);
    appendEntry(slide, *encoded);
}

void SlideLibrary::addSlideData(const QByteArray &slide, const QByteArray &nameBytes,
                                const QString &sourceForErrors)
{
    const DecodeResult r = decodeSlide(slide);
    if (!r.isSlide || !r.reachedEnd)
        throw SlideError(sourceForErrors, QStringLiteral("not a sound AutoCAD slide: %1").arg(r.error), r.errorOffset);
    if (nameBytes.isEmpty() || nameBytes.size() > kMaxSlideNameBytes || nameBytes.contains('\0'))
        throw SlideError(sourceForErrors, QStringLiteral("a slide name must take 1 to 31 bytes"));
    appendEntry(slide.left(r.length), nameBytes);
}

void SlideLibrary::replaceSlide(int index, const QString &path)
{
    entryAt(index, "replace");
    const QByteArray slide = readSlideFile(path);
    const QByteArray name = mEntries[index].name;
    if (mEntries[index].nameError.size())
        throw SlideError(fileForErrors(), mEntries[index].nameError);
    mEntries.erase(mEntries.begin() + index);
    appendEntry(slide, name);
}

void SlideLibrary::deleteSlide(int index)
{
    if (index < 0 || index >= slideCount()) {
        throw SlideError(fileForErrors(),
                         QStringLiteral("delete: there is no slide number %1 (the library holds %2)")
                             .arg(index)
                             .arg(slideCount()));
    }
    mEntries.erase(mEntries.begin() + index);
}

std::vector<std::pair<qint64, qsizetype>> SlideLibrary::writeLibraryFrom(const Sink &out, const char *fileBase) const
{
    const auto n = static_cast<qsizetype>(mEntries.size());
    // Every slide's extent is settled before anything is written, so that a
    // damaged slide stops the save before the temporary file holds anything.
    std::vector<qsizetype> lengths(n);
    std::vector<std::pair<qint64, qsizetype>> layout(n);
    qint64 address = kHeaderSize + kEntrySize * (n + 1);
    QByteArray directory(kHeaderSize + kEntrySize * (n + 1), '\0');
    std::memcpy(directory.data(), kLibraryId, kHeaderSize);
    for (qsizetype i = 0; i < n; ++i) {
        const Entry &e = mEntries[i];
        if (!e.nameError.isEmpty())
            throw SlideError(fileForErrors(), e.nameError);
        if (e.name.isEmpty() || e.name.size() > kMaxSlideNameBytes)
            throw SlideError(fileForErrors(), QStringLiteral("slide %1 has no name that a library can hold").arg(i));
        entryAt(static_cast<int>(i), "save");
        // A slide whose end cannot be found is kept exactly as it stands in
        // the library it came from, up to where the next slide begins.
        if (e.length < 0) {
            const char *base = e.inFile ? fileBase : e.source.constData();
            e.length = slideExtent(base + e.offset, e.span);
        }
        lengths[i] = e.length >= 0 ? e.length : e.span;
        if (address + lengths[i] > 0xFFFFFFFFLL)
            throw SlideError(fileForErrors(), QStringLiteral("the library would be larger than 4 GiB"));
        char *slot = directory.data() + kHeaderSize + kEntrySize * i;
        std::memcpy(slot, e.name.constData(), e.name.size());
        putLe32(slot + kNameField, static_cast<quint32>(address));
        layout[i] = {address, lengths[i]};
        address += lengths[i];
    }
    out(directory.constData(), directory.size());
    for (qsizetype i = 0; i < n; ++i) {
        const Entry &e = mEntries[i];
        out((e.inFile ? fileBase : e.source.constData()) + e.offset, lengths[i]);
    }
    return layout;
}

void SlideLibrary::saveLibrary(const QString &target)
{
    if (mKind == Kind::None && !mPath.isEmpty() && mEntries.empty() && !mLoadError.isEmpty())
        throw SlideError(fileForErrors(), QStringLiteral("there is no slide to save: %1").arg(mLoadError));
    const bool overSource = mSource && QFileInfo(target).absoluteFilePath() == QFileInfo(mSource->path).absoluteFilePath();
    const auto layout = withFileBytes([&](const char *fileBase) {
        SaveFile out(target);
        auto written = writeLibraryFrom([&out](const char *data, qsizetype size) { out.write(data, size); }, fileBase);
        out.commit();
        return written;
    });
    if (overSource) {
        // The file now holds this library: every slide is read from where
        // it was just written.
        stampSource(target);
        for (std::size_t i = 0; i < mEntries.size(); ++i) {
            Entry &e = mEntries[i];
            e.source = {};
            e.inFile = true;
            e.offset = static_cast<qsizetype>(layout[i].first);
            e.span = e.length = layout[i].second;
        }
    }
}

QByteArray SlideLibrary::toLibraryBytes() const
{
    QByteArray bytes;
    withFileBytes([&](const char *fileBase) {
        return writeLibraryFrom([&bytes](const char *data, qsizetype size) { bytes.append(data, size); }, fileBase);
    });
    return bytes;
}

} // namespace quarvel
