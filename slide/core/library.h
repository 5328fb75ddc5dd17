#pragma once

// The slide library object on the standard library alone: one object stands
// for one slide library (.slb), one single slide (.sld) or a new library.
//
// Opening reads only the directory; a slide's bytes are read from the file
// when they are needed, by positioned reads into memory (never a mapping), and
// every read first checks that the file is still the one that was opened
// (size, time of last change, identity), else it fails with Reason::Changed.
// Edits change only the object; save() writes the whole library at once
// through an AtomicFile under the edit lock, streaming the slides still in the
// old file in chunks. Directory entries that share one slide keep sharing one
// copy, and damaged slides are written back as they stand (up to where the
// next slide begins), so a damaged library stays editable.
//
// Names are byte strings as the library stores them; decoding them for people
// is the business of the name code page. Two names are the same name when the
// code page (or a comparer) says so; by default, when their bytes are equal
// after upper-casing ASCII letters.

#include "atomicfile.h"
#include "coreerror.h"
#include "fileio.h"
#include "namecodepage.h"
#include "slidedata.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::core {

inline constexpr std::size_t kMaxLibrarySlides = 32767;
inline constexpr std::size_t kLibraryHeaderSize = 32;
inline constexpr std::size_t kLibraryEntrySize = 36;
extern const char kLibraryId[kLibraryHeaderSize];   // "AutoCAD Slide Library 1.0" CR LF ^Z NUL x4

// True when data starts with a library header (the text, CR, LF, ^Z).
bool hasLibraryId(const char *data, std::size_t size);

// A problem found while reading a library's directory or a single slide. The
// object stays usable; the problem is there for whoever wants to show it.
struct LibraryProblem
{
    enum class Kind : std::uint8_t {
        HeaderTruncated,          // file ends inside the library header
        NoTerminator,             // directory has no terminating entry
        DirectoryPastEnd,         // directory runs past the end of the file
        AddressInsideDirectory,   // address `address` of slide `name` lies inside the directory
        AddressPastEnd,           // address `address` of slide `name` lies past the end of the file
        SlideDamaged,             // a single slide file is damaged: damage / detail
    };
    Kind kind;
    std::int64_t offset = -1;     // where in the file
    std::string name;             // slide name bytes as stored
    std::int64_t address = -1;
    Damage damage = Damage::None;
    std::string detail;           // English wording of damage

    // English text, with the name's bytes shown as they are.
    std::string message() const;
};

// A slide taken out of a library, as it would be written back: its name as
// stored and its bytes as save() writes them (up to and with the end-of-file
// record; a damaged slide as it stands, up to where the next slide began).
struct KeptSlide
{
    std::string name;
    std::string bytes;
};

class Library
{
public:
    enum class Kind : std::uint8_t { New, Library, Slide };
    // Whether two stored names are the same name without regard to case.
    using SameName = std::function<bool(std::string_view a, std::string_view b)>;
    using Sink = std::function<void(const char *data, std::size_t size)>;

    Library();   // a new, empty library that belongs to no file yet
    ~Library();
    Library(Library &&) noexcept;
    Library &operator=(Library &&) noexcept;
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;

    // Reads the directory of a library, or a whole single slide file.
    // Throws Error: CannotRead (errno), NotSlideOrLibrary, NotASlide (the
    // slide header is not valid: damage). A damaged directory or slide is
    // not an error: see problems(). A single slide gets an empty name
    // (callers name it after the file, with rename()).
    static Library open(const std::filesystem::path &file);
    // The same, after taking the edit lock on file (waiting up to wait). The
    // lock is held until save() over the same file has renamed the new file
    // into place, or until releaseEditLock() or the object's end. Throws
    // Error (Busy) when another program keeps the library locked.
    static Library openForEdit(const std::filesystem::path &file,
                               std::chrono::milliseconds wait = EditLock::kDefaultWait);

    Kind kind() const { return mKind; }
    const std::filesystem::path &file() const { return mFile; }   // empty for a new library
    const std::vector<LibraryProblem> &problems() const { return mProblems; }
    void setSameName(SameName sameName);
    // Names compare in this code page's case rules and appear in messages as
    // it decodes them (else raw, with control bytes escaped).
    void setCodePage(const NameCodePage &codePage);

    std::size_t slideCount() const { return mEntries.size(); }
    // The name bytes of slide index as stored. Throws Error (NoSuchSlide).
    const std::string &name(std::size_t index) const;
    // False when the directory address of slide index points nowhere.
    bool isReadable(std::size_t index) const;
    // The first slide of that name, without regard to case.
    std::optional<std::size_t> indexOf(std::string_view name) const;

    // The slide's bytes from its header up to and with its end-of-file
    // record. Throws Error: NoSuchSlide; Damaged (unreadable address, or no
    // end-of-file record: name, damage, offset in the file); Changed;
    // CannotRead.
    std::string slideBytes(std::size_t index) const;
    // The bytes from the slide's start up to where the next slide begins (or
    // the file ends): what a damaged slide is drawn from. Throws as above,
    // but not for damage.
    std::string slideSpan(std::size_t index) const;
    // Decodes slide index into drawing (which may be null); damage is in the
    // result. Throws as slideSpan.
    DecodeResult decode(std::size_t index, SlideDrawing *drawing) const;
    // Writes slide index as a single slide file, atomically.
    void exportSlide(std::size_t index, const std::filesystem::path &target) const;

    // The edits below change only the object. Names must follow the name rule
    // (checkName); a slide must be sound (a header and an end-of-file record),
    // and only its bytes up to and with the end-of-file record are kept.
    // Appends the slide of a .sld file under name. Throws Error: the slide's
    // faults (CannotRead, NotASlide, Damaged) first, then the name's, then
    // LibraryFull.
    void add(std::string name, const std::filesystem::path &slideFile);
    // Appends slide bytes under name; sourceForErrors names them in errors.
    void add(std::string name, std::string slide, std::string_view sourceForErrors);
    // Removes slide index and appends the new slide under the same name at
    // the end, only once the new slide is known to be good.
    void replace(std::size_t index, const std::filesystem::path &slideFile);
    void replace(std::size_t index, std::string slide, std::string_view sourceForErrors);
    // Removes slide index; later slides move down one place.
    void remove(std::size_t index);
    // Gives slide index a new name (the name rule; its own old name, in any
    // case, is not a duplicate).
    void rename(std::size_t index, std::string newName);

    // The slide at index as it stands now, to be put back with insert().
    // Throws as slideSpan.
    KeptSlide keep(std::size_t index) const;
    // Puts a kept slide back at index (later slides move up one place).
    // Throws Error: NoSuchSlide past the end, NameEmpty, NameTooLong,
    // NameTaken, LibraryFull.
    void insert(std::size_t index, KeptSlide slide);

    // The name rule for a name given to slide index (or to a new slide when
    // index is empty): 1 to 31 bytes (NameEmpty, NameTooLong), no NUL or
    // control byte (NameInvalid), no other slide of the same name without
    // regard to case (NameTaken: "a slide named ... is already in the library").
    void checkName(std::string_view name, std::optional<std::size_t> index = std::nullopt) const;

    // Writes the whole library to target, replacing it atomically. Takes the
    // edit lock on target for the time of the save unless this object already
    // holds it (openForEdit); saving over the object's own file fails with
    // Error (Changed) when another program changed the file since it was
    // read. Afterwards the object reads its slides from target when target is
    // its own file (or it had none). Throws Error (CannotWrite with errno,
    // Busy, Changed, CannotRead, TooLarge, NameTooLong for a 32-byte name
    // read from a damaged directory); the target is then unchanged.
    void save(const std::filesystem::path &target,
              std::chrono::milliseconds wait = EditLock::kDefaultWait);
    // The whole library as save() would write it, to sink in order.
    void writeTo(const Sink &sink) const;
    std::string toBytes() const;

    // Size, time of last change and identity of the library file as this
    // object last read or wrote it; nothing when it reads no file.
    std::optional<FileStamp> sourceStamp() const;

    bool holdsEditLock() const { return mLock.held(); }
    void releaseEditLock() { mLock.release(); }

    // Reads a slide file and checks it: throws Error (CannotRead, NotASlide
    // with damage and offset, Damaged when it has no end-of-file record).
    // Returns the bytes up to and with the end-of-file record.
    static std::string readSlideFile(const std::filesystem::path &path);

private:
    struct Entry
    {
        std::string name;                            // bytes as stored
        std::shared_ptr<const std::string> memory;   // the slide in memory; null while it is in the file
        std::uint64_t offset = 0;                    // where it starts (in memory or in the file)
        std::uint64_t span = 0;                      // bytes up to the next slide or the end
        mutable std::int64_t length = -1;            // up to and with the end-of-file record, once known
        bool readable = true;                        // false when the directory address points nowhere
    };
    struct Source
    {
        std::filesystem::path file;
        FileStamp stamp;
    };
    struct Layout;

    void loadDirectory(InputFile &input, std::uint64_t size);
    void loadSingleSlide(std::string bytes);
    const Entry &entryAt(std::size_t index) const;
    const Entry &readableEntry(std::size_t index) const;
    // The entry's span, read through open when it is given.
    std::string spanOf(const Entry &entry, const InputFile *open = nullptr) const;
    std::int64_t lengthOf(const Entry &entry, std::size_t index) const;
    void appendSlide(std::string name, std::string slide, std::string_view sourceForErrors);
    std::string fileForErrors() const;
    std::string shown(std::string_view name) const;
    // The library file this object reads slides from, opened and checked
    // unchanged; nothing when every slide is in memory.
    std::unique_ptr<InputFile> openSourceIfNeeded() const;
    Layout plan(const InputFile *input) const;
    void writeWith(const Layout &layout, InputFile *input, const Sink &sink) const;
    void adopt(const Layout &layout, const std::filesystem::path &target);

    Kind mKind = Kind::New;
    std::filesystem::path mFile;
    std::vector<LibraryProblem> mProblems;
    std::vector<Entry> mEntries;
    std::shared_ptr<Source> mSource;   // the file slides are still read from
    SameName mSameName;
    std::shared_ptr<const NameCodePage> mCodePage;
    EditLock mLock;
};

} // namespace quarvel::core
