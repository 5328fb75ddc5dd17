#pragma once

// The slide library object: one object stands for one slide library (.slb)
// or one single slide (.sld). It lists the slide names, hands out the bytes
// and drawings of slides, takes additions and deletions in memory, and writes
// the whole library atomically on SaveLibrary.

#include "namecodec.h"
#include "slideformat.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>

class QFile;

#include <functional>
#include <memory>
#include <vector>

namespace quarvel {

inline constexpr int kMaxLibrarySlides = 32767;
extern const char kLibraryId[32];   // "AutoCAD Slide Library 1.0" CR LF ^Z NUL x4

// A problem found while reading a library's directory (the library stays
// usable; the problem is reported to whoever wants to show it).
struct LibraryProblem
{
    qint64 offset;
    QString what;
};

class SlideLibrary
{
public:
    enum class Kind { None, Library, Slide };

    explicit SlideLibrary(NameCodec codec = NameCodec());

    // LibraryFile: reads the file. Never fails: a file that cannot be read or
    // is neither a library nor a slide leaves the object empty, with the
    // reason in loadError().
    void setLibraryFile(const QString &path);
    const QString &libraryFile() const { return mPath; }

    Kind kind() const { return mKind; }
    QString loadError() const { return mLoadError; }
    const std::vector<LibraryProblem> &problems() const { return mProblems; }

    // SlideCount: the number of slides (1 for a single slide file).
    int slideCount() const { return static_cast<int>(mEntries.size()); }
    // SlideName: decoded name of slide index, empty when out of range. For a
    // single slide file, the file's name without folder and extension.
    QString slideName(int index) const;
    QByteArray slideNameBytes(int index) const;
    // Index of the first slide of that name (without regard to case), or -1.
    int indexOf(const QString &name) const;

    // The slide's bytes from its header up to and with its end-of-file
    // record. Throws SlideError when the slide cannot be read.
    QByteArray slideData(int index) const;
    // Decodes slide index into drawing (which may be null). Throws only when
    // there is no slide data at all; damage is reported in the result.
    DecodeResult decode(int index, SlideDrawing *drawing) const;

    // Each of these throws SlideError naming the file and the reason.
    void exportToSld(const QString &target, int index) const;
    void exportToWmf(const QString &target, int index, QColor background = Qt::black) const;
    void saveLibrary(const QString &target);
    // Appends the slide of a .sld file, named after the file (or as given).
    void addSlideFile(const QString &path);
    void addSlideFile(const QString &path, const QString &name);
    // Appends slide bytes under a name already encoded (CLI, tests).
    void addSlideData(const QByteArray &slide, const QByteArray &nameBytes,
                      const QString &sourceForErrors);
    // Removes slide index and appends the slide of path under the same name,
    // only once the new slide is known to be good.
    void replaceSlide(int index, const QString &path);
    void deleteSlide(int index);

    // The whole library as it would be saved.
    QByteArray toLibraryBytes() const;

    const NameCodec &codec() const { return mCodec; }

    // Reads a slide file and checks it; throws SlideError ("not a slide", the
    // damage and its offset, or why it cannot be read).
    static QByteArray readSlideFile(const QString &path);
    // The slide name a file gets: its name without folder and extension.
    static QString nameFromPath(const QString &path);

private:
    struct Entry
    {
        QByteArray name;        // bytes as stored (or as they will be stored)
        QString display;        // decoded for showing and comparing
        QString nameError;      // why the name cannot be stored, if it cannot
        QByteArray source;      // buffer holding the slide; empty while it is still in the file
        bool inFile = false;    // the slide is read from the library file when needed
        qsizetype offset = 0;   // where the slide starts in source (or in the file)
        qsizetype span = 0;     // bytes available from offset (up to the next slide or the end)
        mutable qsizetype length = -1;   // up to and with the end-of-file record, once known
        bool readable = true;   // false when the directory address points nowhere
    };

    // The library file this object was read from. Only the directory is read
    // when the file is opened; slides are read when they are needed, and the
    // whole file once when the library is written.
    using Sink = std::function<void(const char *, qsizetype)>;

    struct FileSource
    {
        QString path;
        qint64 size = -1;
        qint64 modified = 0;   // milliseconds since the epoch
    };

    void loadLibrary(QFile &file, qint64 fileSize);
    // The bytes of an entry's slide, up to where the next slide begins.
    QByteArray spanBytes(const Entry &entry) const;
    void checkSourceUnchanged() const;
    void stampSource(const QString &path);
    // Hands the whole library to out in order, reading slides still in the
    // library file from fileBase (the file's bytes), and returns where each
    // slide was put and how long it is.
    std::vector<std::pair<qint64, qsizetype>> writeLibraryFrom(const Sink &out, const char *fileBase) const;
    // Runs write with the bytes of the library file in reach.
    template<typename Write>
    auto withFileBytes(Write &&write) const;
    void loadSingleSlide(const QByteArray &bytes);
    const Entry &entryAt(int index, const char *operation) const;
    qsizetype slideLength(const Entry &entry, int index) const;
    void appendEntry(const QByteArray &slide, const QByteArray &nameBytes);

    QString fileForErrors() const;

    NameCodec mCodec;
    QString mPath;
    Kind mKind = Kind::None;
    QString mLoadError;
    std::vector<LibraryProblem> mProblems;
    std::vector<Entry> mEntries;
    std::shared_ptr<FileSource> mSource;
};

} // namespace quarvel
