#pragma once

// The slide library object of the windows: one object stands for one slide
// library (.slb) or one single slide (.sld). It lists the slide names, hands
// out the bytes and drawings of slides, takes additions and deletions in
// memory, and writes the whole library atomically on SaveLibrary. The work is
// done by core::Library; this class gives it Qt's types, decoded names and
// SlideError.

#include "core/library.h"
#include "namecodec.h"
#include "slideformat.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quarvel {

inline constexpr int kMaxLibrarySlides = 32767;
using core::kLibraryId;   // "AutoCAD Slide Library 1.0" CR LF ^Z NUL x4

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
    // The same failure with its reason code, for wording it in a language.
    const std::optional<core::Error> &loadFailure() const { return mLoadFailure; }
    const std::vector<LibraryProblem> &problems() const { return mProblems; }

    // SlideCount: the number of slides (1 for a single slide file).
    int slideCount() const { return static_cast<int>(mDisplay.size()); }
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
    // Writes the library to target atomically, under the edit lock of target
    // (a second program's edit waits for it, and it for that one, a few
    // seconds at most). Saving over the object's own file fails with "the
    // file has changed since it was opened" when another program changed it.
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
    // Gives slide index a new name, encoded as new names are (ASCII letters
    // upper-cased, at most 31 bytes); throws SlideError when the name cannot
    // be stored or another slide has it in any letter case.
    void renameSlide(int index, const QString &name);

    // Slide index as a save would write it, with its stored name, to be put
    // back later with insertSlide (throws SlideError when it cannot be read).
    core::KeptSlide keepSlide(int index) const;
    // Puts a kept slide back at index; throws SlideError (index past the
    // end, its name taken meanwhile, a full library).
    void insertSlide(int index, core::KeptSlide slide);
    // Renames slide index back to name bytes it had before.
    void restoreSlideName(int index, const QByteArray &nameBytes);
    // The library file as this object last read or wrote it (size, time,
    // identity); nothing when it reads no file.
    std::optional<core::FileStamp> fileStamp() const { return mLibrary.sourceStamp(); }

    // The whole library as it would be saved.
    QByteArray toLibraryBytes() const;

    const NameCodec &codec() const { return mCodec; }

    // Reads a slide file and checks it; throws SlideError ("not a slide", the
    // damage and its offset, or why it cannot be read).
    static QByteArray readSlideFile(const QString &path);
    // The slide name a file gets: its name without folder and extension.
    static QString nameFromPath(const QString &path);

    // The core object underneath (for callers that work on the core).
    const core::Library &core() const { return mLibrary; }

private:
    void loadSingleSlide();
    void refreshNames();
    QString fileForErrors() const;

    NameCodec mCodec;
    QString mPath;
    Kind mKind = Kind::None;
    QString mLoadError;
    std::optional<core::Error> mLoadFailure;
    std::vector<LibraryProblem> mProblems;
    core::Library mLibrary;
    std::vector<QString> mDisplay;   // decoded names, for showing and comparing
    QString mNameError;              // why a single slide's name cannot be stored, if it cannot
};

} // namespace quarvel
