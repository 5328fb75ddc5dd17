#include "library.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <system_error>
#include <utility>

namespace quarvel::core {

namespace fs = std::filesystem;

const char kLibraryId[kLibraryHeaderSize] = {'A', 'u', 't', 'o', 'C', 'A', 'D', ' ', 'S', 'l', 'i',
                                             'd', 'e', ' ', 'L', 'i', 'b', 'r', 'a', 'r', 'y', ' ',
                                             '1', '.', '0', '\r', '\n', '\x1a', 0, 0, 0, 0};

namespace {

constexpr std::size_t kNameField = 32;
constexpr std::size_t kCheckedIdBytes = 28;   // the text, CR, LF, ^Z; the NULs vary in the wild
constexpr std::uint64_t kLargestLibrary = 0xFFFFFFFFull;
constexpr std::size_t kCopyChunk = std::size_t(1) << 20;

std::uint32_t readLe32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return u[0] | (u[1] << 8) | (u[2] << 16) | (std::uint32_t(u[3]) << 24);
}

void putLe32(char *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Control bytes of a name read from a damaged file are shown as \xNN, so that
// they never reach a terminal or a message raw.
std::string shownName(std::string_view name)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '\\') {
            shown += '\\';
            shown += 'x';
            shown += kHex[u >> 4];
            shown += kHex[u & 15];
        } else {
            shown += c;
        }
    }
    return shown;
}

bool sameAscii(std::string_view a, std::string_view b)
{
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return upper(x) == upper(y);
           });
}

Error damaged(const std::string &file, const std::string &name, const DecodeResult &r, std::int64_t base)
{
    return Error(file, Reason::Damaged, {}, r.errorOffset >= 0 ? base + r.errorOffset : -1)
        .withName(name)
        .withDamage(r.damage, r.damageValue);
}

Error notASlide(const std::string &file, const DecodeResult &r)
{
    const bool noHeader = r.damage == Damage::NoSlideHeader;
    return Error(file, Reason::NotASlide, {}, noHeader || r.errorOffset <= 0 ? -1 : r.errorOffset)
        .withDamage(r.damage, r.damageValue);
}

LibraryProblem problem(LibraryProblem::Kind kind, std::int64_t offset, std::string name = {},
                       std::int64_t address = -1)
{
    LibraryProblem p;
    p.kind = kind;
    p.offset = offset;
    p.name = std::move(name);
    p.address = address;
    return p;
}

} // namespace

bool hasLibraryId(const char *data, std::size_t size)
{
    return size >= kCheckedIdBytes && std::memcmp(data, kLibraryId, kCheckedIdBytes) == 0;
}

std::string LibraryProblem::message() const
{
    const std::string quoted = "\"" + shownName(name) + "\"";
    switch (kind) {
    case Kind::HeaderTruncated: return "file ends inside the library header";
    case Kind::NoTerminator: return "directory has no terminating entry";
    case Kind::DirectoryPastEnd: return "directory runs past the end of the file";
    case Kind::AddressInsideDirectory:
        return "address " + std::to_string(address) + " of slide " + quoted + " lies inside the directory";
    case Kind::AddressPastEnd:
        return "address " + std::to_string(address) + " of slide " + quoted + " lies past the end of the file";
    case Kind::SlideDamaged: return detail;
    }
    return detail;
}

// Where every slide goes in the file being written: one piece per distinct
// slide (entries that share a slide share its piece), in directory order.
struct Library::Layout
{
    struct Piece
    {
        const Entry *entry;
        std::uint64_t length;
    };
    std::string directory;
    std::vector<Piece> pieces;
    std::vector<std::uint64_t> address;   // per entry
    std::vector<std::uint64_t> length;    // per entry
    std::vector<bool> sound;              // per entry: the length ends at the end-of-file record
};

Library::Library() = default;
Library::~Library() = default;
Library::Library(Library &&) noexcept = default;
Library &Library::operator=(Library &&) noexcept = default;

void Library::setSameName(SameName sameName)
{
    mSameName = std::move(sameName);
}

void Library::setCodePage(const NameCodePage &codePage)
{
    auto shared = std::make_shared<const NameCodePage>(codePage);
    mCodePage = shared;
    mSameName = [shared](std::string_view a, std::string_view b) { return shared->sameName(a, b); };
}

std::string Library::shown(std::string_view name) const
{
    return mCodePage ? mCodePage->decode(name) : shownName(name);
}

std::string Library::fileForErrors() const
{
    return mFile.empty() ? std::string("new library") : displayPath(mFile);
}

Library Library::open(const fs::path &file)
{
    Library library;
    library.mFile = file;
    InputFile input(file);
    const FileStamp stamp = input.stamp();
    char head[kLibraryHeaderSize];
    const std::size_t got = input.readAt(0, head, sizeof head);
    if (hasLibraryId(head, got)) {
        library.mKind = Kind::Library;
        library.mSource = std::make_shared<Source>(Source{file, stamp});
        library.loadDirectory(input, stamp.size);
    } else if (hasSlideId(head, got)) {
        if (stamp.size > kMaxWholeFile)
            throw Error(displayPath(file), Reason::TooLarge, "the file is larger than 1 GiB");
        std::string bytes(static_cast<std::size_t>(stamp.size), '\0');
        bytes.resize(input.readAt(0, bytes.data(), bytes.size()));
        library.loadSingleSlide(std::move(bytes));
    } else {
        throw Error(displayPath(file), Reason::NotSlideOrLibrary);
    }
    return library;
}

Library Library::openForEdit(const fs::path &file, std::chrono::milliseconds wait)
{
    EditLock lock = EditLock::acquire(file, wait);
    Library library = open(file);
    library.mLock = std::move(lock);
    return library;
}

void Library::loadDirectory(InputFile &input, std::uint64_t size)
{
    if (size < kLibraryHeaderSize) {
        mProblems.push_back(problem(LibraryProblem::Kind::HeaderTruncated, static_cast<std::int64_t>(size)));
        return;
    }
    // The directory is read in growing chunks: only as much of the file as
    // the directory takes is ever read here.
    std::string directory;
    auto ensure = [&](std::uint64_t needed) {
        while (directory.size() < needed && directory.size() < size) {
            const std::uint64_t chunk = std::max<std::uint64_t>(64 * 1024, directory.size());
            const std::size_t want = static_cast<std::size_t>(std::min(chunk, size - directory.size()));
            const std::size_t old = directory.size();
            directory.resize(old + want);
            input.readExactly(old, directory.data() + old, want, size);
        }
    };

    struct Raw
    {
        std::uint64_t entryOffset;
        std::string name;
        std::uint64_t address;
    };
    std::vector<Raw> raw;
    std::uint64_t lowestAddress = size;   // the directory cannot run into slide data
    std::uint64_t pos = kLibraryHeaderSize;
    bool terminated = false;
    while (true) {
        if (pos >= lowestAddress) {
            mProblems.push_back(problem(LibraryProblem::Kind::NoTerminator, static_cast<std::int64_t>(pos)));
            break;
        }
        if (pos + kLibraryEntrySize > size) {
            mProblems.push_back(problem(LibraryProblem::Kind::DirectoryPastEnd, static_cast<std::int64_t>(pos)));
            break;
        }
        ensure(pos + kLibraryEntrySize);
        const char *entry = directory.data() + pos;
        if (entry[0] == '\0') {
            terminated = true;
            break;
        }
        const std::size_t nameLength = strnlen(entry, kNameField);
        const std::uint64_t address = readLe32(entry + kNameField);
        raw.push_back({pos, std::string(entry, nameLength), address});
        if (address >= pos + kLibraryEntrySize && address < lowestAddress)
            lowestAddress = address;
        pos += kLibraryEntrySize;
    }
    const std::uint64_t directoryEnd = terminated ? pos + kLibraryEntrySize : pos;

    std::vector<std::uint64_t> starts;
    starts.reserve(raw.size());
    for (const Raw &r : raw) {
        if (r.address >= directoryEnd && r.address < size)
            starts.push_back(r.address);
    }
    std::sort(starts.begin(), starts.end());

    mEntries.reserve(raw.size());
    for (Raw &r : raw) {
        Entry e;
        e.name = std::move(r.name);
        if (r.address < directoryEnd || r.address >= size) {
            e.readable = false;
            const bool inside = r.address < directoryEnd;
            mProblems.push_back(problem(inside ? LibraryProblem::Kind::AddressInsideDirectory
                                               : LibraryProblem::Kind::AddressPastEnd,
                                        static_cast<std::int64_t>(r.entryOffset + kNameField), e.name,
                                        static_cast<std::int64_t>(r.address)));
        } else {
            e.offset = r.address;
            const auto next = std::upper_bound(starts.begin(), starts.end(), r.address);
            e.span = (next == starts.end() ? size : *next) - r.address;
        }
        mEntries.push_back(std::move(e));
    }
}

void Library::loadSingleSlide(std::string bytes)
{
    const DecodeResult r = decodeSlide(bytes);
    if (!r.isSlide)
        throw notASlide(displayPath(mFile), r);
    mKind = Kind::Slide;
    if (!r.error.empty()) {
        LibraryProblem damage = problem(LibraryProblem::Kind::SlideDamaged, r.errorOffset);
        damage.damage = r.damage;
        damage.detail = r.error;
        mProblems.push_back(std::move(damage));
    }
    Entry e;
    e.span = bytes.size();
    if (r.reachedEnd)
        e.length = r.length;
    e.memory = std::make_shared<const std::string>(std::move(bytes));
    mEntries.push_back(std::move(e));
}

const Library::Entry &Library::entryAt(std::size_t index) const
{
    if (index >= mEntries.size())
        throw Error(fileForErrors(), Reason::NoSuchSlide).withNumber(static_cast<std::int64_t>(index));
    return mEntries[index];
}

const Library::Entry &Library::readableEntry(std::size_t index) const
{
    const Entry &e = entryAt(index);
    if (!e.readable) {
        throw Error(fileForErrors(), Reason::Damaged, "its directory address points outside the slide data")
            .withName(shown(e.name));
    }
    return e;
}

const std::string &Library::name(std::size_t index) const
{
    return entryAt(index).name;
}

bool Library::isReadable(std::size_t index) const
{
    return entryAt(index).readable;
}

std::optional<std::size_t> Library::indexOf(std::string_view name) const
{
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        if (mSameName ? mSameName(mEntries[i].name, name) : sameAscii(mEntries[i].name, name))
            return i;
    }
    return std::nullopt;
}

std::string Library::spanOf(const Entry &e, const InputFile *open) const
{
    if (e.memory)
        return e.memory->substr(static_cast<std::size_t>(e.offset), static_cast<std::size_t>(e.span));
    std::optional<InputFile> own;
    if (!open) {
        own.emplace(mSource->file);
        if (own->stamp() != mSource->stamp)
            throw Error(displayPath(mSource->file), Reason::Changed);
        open = &*own;
    }
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(e.span));
    } catch (const std::bad_alloc &) {
        throw Error(displayPath(mSource->file), Reason::OutOfMemory);
    }
    open->readExactly(e.offset, bytes.data(), bytes.size(), mSource->stamp.size);
    return bytes;
}

std::int64_t Library::lengthOf(const Entry &e, std::size_t index) const
{
    if (e.length < 0) {
        const std::string span = spanOf(e);
        const DecodeResult r = decodeSlide(span);
        if (!r.isSlide || !r.reachedEnd)
            throw damaged(fileForErrors(), shown(mEntries[index].name), r,
                          mKind == Kind::Library ? static_cast<std::int64_t>(e.offset) : 0);
        e.length = r.length;
    }
    return e.length;
}

std::string Library::slideBytes(std::size_t index) const
{
    const Entry &e = readableEntry(index);
    const std::int64_t length = lengthOf(e, index);
    std::string bytes = spanOf(e);
    bytes.resize(static_cast<std::size_t>(length));
    return bytes;
}

std::string Library::slideSpan(std::size_t index) const
{
    return spanOf(readableEntry(index));
}

DecodeResult Library::decode(std::size_t index, SlideDrawing *drawing) const
{
    const Entry &e = readableEntry(index);
    const std::string bytes = spanOf(e);
    DecodeResult r = decodeSlide(bytes, drawing);
    if (r.reachedEnd && e.length < 0)
        e.length = r.length;
    return r;
}

void Library::exportSlide(std::size_t index, const fs::path &target) const
{
    writeFileAtomically(target, slideBytes(index));
}

std::string Library::readSlideFile(const fs::path &path)
{
    std::string bytes = readWholeFile(path);
    const DecodeResult r = decodeSlide(bytes);
    if (!r.isSlide)
        throw notASlide(displayPath(path), r);
    if (!r.reachedEnd)
        throw damaged(displayPath(path), {}, r, 0);
    bytes.resize(static_cast<std::size_t>(r.length));   // bytes after the end-of-file record are not part of the slide
    return bytes;
}

void Library::checkName(std::string_view name, std::optional<std::size_t> index) const
{
    const std::string file = fileForErrors();
    if (name.empty())
        throw Error(file, Reason::NameEmpty);
    if (name.size() > std::size_t(kMaxSlideNameBytes))
        throw Error(file, Reason::NameTooLong).withName(shown(name)).withNumber(static_cast<std::int64_t>(name.size()));
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            static constexpr char kHex[] = "0123456789abcdef";
            throw Error(file, Reason::NameInvalid, std::string("\\x") + kHex[u >> 4] + kHex[u & 15])
                .withName(shown(name));
        }
    }
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        if (index && *index == i)
            continue;
        if (mSameName ? mSameName(mEntries[i].name, name) : sameAscii(mEntries[i].name, name)) {
            throw Error(file, Reason::NameTaken, shown(mEntries[i].name)).withName(shown(name));
        }
    }
}

void Library::appendSlide(std::string name, std::string slide, std::string_view sourceForErrors)
{
    const DecodeResult r = decodeSlide(slide);
    if (!r.isSlide)
        throw notASlide(std::string(sourceForErrors), r);
    if (!r.reachedEnd)
        throw damaged(std::string(sourceForErrors), {}, r, 0);
    checkName(name);
    if (mEntries.size() >= kMaxLibrarySlides)
        throw Error(fileForErrors(), Reason::LibraryFull).withNumber(static_cast<std::int64_t>(kMaxLibrarySlides));
    slide.resize(static_cast<std::size_t>(r.length));
    Entry e;
    e.name = std::move(name);
    e.span = slide.size();
    e.length = r.length;
    e.memory = std::make_shared<const std::string>(std::move(slide));
    mEntries.push_back(std::move(e));
}

void Library::add(std::string name, const fs::path &slideFile)
{
    std::string slide = readSlideFile(slideFile);
    appendSlide(std::move(name), std::move(slide), displayPath(slideFile));
}

void Library::add(std::string name, std::string slide, std::string_view sourceForErrors)
{
    appendSlide(std::move(name), std::move(slide), sourceForErrors);
}

void Library::replace(std::size_t index, const fs::path &slideFile)
{
    entryAt(index);
    replace(index, readSlideFile(slideFile), displayPath(slideFile));
}

void Library::replace(std::size_t index, std::string slide, std::string_view sourceForErrors)
{
    const std::string name = entryAt(index).name;
    if (name.size() > std::size_t(kMaxSlideNameBytes))
        throw Error(fileForErrors(), Reason::NameTooLong).withName(shown(name)).withNumber(static_cast<std::int64_t>(name.size()));
    // Checked as a new slide of its own name: the old entry must not count.
    Library probe;
    probe.add(name, std::move(slide), sourceForErrors);
    Entry fresh = std::move(probe.mEntries.front());
    mEntries.erase(mEntries.begin() + static_cast<std::ptrdiff_t>(index));
    mEntries.push_back(std::move(fresh));
}

void Library::remove(std::size_t index)
{
    entryAt(index);
    mEntries.erase(mEntries.begin() + static_cast<std::ptrdiff_t>(index));
}

void Library::rename(std::size_t index, std::string newName)
{
    entryAt(index);
    checkName(newName, index);
    mEntries[index].name = std::move(newName);
}

KeptSlide Library::keep(std::size_t index) const
{
    const Entry &e = readableEntry(index);
    std::string bytes = spanOf(e);
    if (e.length < 0)
        e.length = slideExtent(bytes.data(), bytes.size());
    if (e.length >= 0)
        bytes.resize(static_cast<std::size_t>(e.length));
    return {e.name, std::move(bytes)};
}

void Library::insert(std::size_t index, KeptSlide slide)
{
    if (index > mEntries.size())
        throw Error(fileForErrors(), Reason::NoSuchSlide).withNumber(static_cast<std::int64_t>(index));
    // The name comes back as it was stored, so only what a save needs of it
    // is checked: a name of its own that fits the directory.
    if (slide.name.empty())
        throw Error(fileForErrors(), Reason::NameEmpty);
    if (slide.name.size() > std::size_t(kMaxSlideNameBytes))
        throw Error(fileForErrors(), Reason::NameTooLong).withName(shown(slide.name)).withNumber(static_cast<std::int64_t>(slide.name.size()));
    if (const auto taken = indexOf(slide.name))
        throw Error(fileForErrors(), Reason::NameTaken, shown(mEntries[*taken].name)).withName(shown(slide.name));
    if (mEntries.size() >= kMaxLibrarySlides)
        throw Error(fileForErrors(), Reason::LibraryFull).withNumber(static_cast<std::int64_t>(kMaxLibrarySlides));
    Entry e;
    e.name = std::move(slide.name);
    e.span = slide.bytes.size();
    e.memory = std::make_shared<const std::string>(std::move(slide.bytes));
    mEntries.insert(mEntries.begin() + static_cast<std::ptrdiff_t>(index), std::move(e));
}

std::optional<FileStamp> Library::sourceStamp() const
{
    if (!mSource)
        return std::nullopt;
    return mSource->stamp;
}

Library::Layout Library::plan(const InputFile *input) const
{
    // Every slide's extent is settled before anything is written, so that a
    // slide that cannot be written stops the save before the temporary file
    // holds anything.
    const std::size_t n = mEntries.size();
    Layout layout;
    layout.address.resize(n);
    layout.length.resize(n);
    layout.sound.resize(n);
    const std::uint64_t directorySize = kLibraryHeaderSize + kLibraryEntrySize * (n + 1);
    layout.directory.assign(directorySize, '\0');
    std::memcpy(layout.directory.data(), kLibraryId, kLibraryHeaderSize);

    // Entries that point to one slide share it: keyed by where the slide lies.
    std::map<std::pair<const void *, std::uint64_t>, std::size_t> firstOfSlide;
    std::uint64_t address = directorySize;
    for (std::size_t i = 0; i < n; ++i) {
        const Entry &e = mEntries[i];
        if (e.name.empty())
            throw Error(fileForErrors(), Reason::NameEmpty).withNumber(static_cast<std::int64_t>(i));
        if (e.name.size() > std::size_t(kMaxSlideNameBytes))
            throw Error(fileForErrors(), Reason::NameTooLong).withName(shown(e.name)).withNumber(static_cast<std::int64_t>(e.name.size()));
        readableEntry(i);
        char *slot = layout.directory.data() + kLibraryHeaderSize + kLibraryEntrySize * i;
        std::memcpy(slot, e.name.data(), e.name.size());

        const auto key = std::make_pair(static_cast<const void *>(e.memory.get()), e.offset);
        if (const auto seen = firstOfSlide.find(key); seen != firstOfSlide.end()) {
            layout.address[i] = layout.address[seen->second];
            layout.length[i] = layout.length[seen->second];
            layout.sound[i] = layout.sound[seen->second];
        } else {
            // A slide whose end cannot be found is kept exactly as it stands
            // in the library it came from, up to where the next slide begins.
            if (e.length < 0) {
                const std::string span = spanOf(e, input);
                e.length = slideExtent(span.data(), span.size());
            }
            const bool sound = e.length >= 0;
            const std::uint64_t length = sound ? static_cast<std::uint64_t>(e.length) : e.span;
            if (address + length > kLargestLibrary)
                throw Error(fileForErrors(), Reason::TooLarge);
            firstOfSlide.emplace(key, i);
            layout.address[i] = address;
            layout.length[i] = length;
            layout.sound[i] = sound;
            layout.pieces.push_back({&e, length});
            address += length;
        }
        putLe32(slot + kNameField, static_cast<std::uint32_t>(layout.address[i]));
    }
    return layout;
}

void Library::writeWith(const Layout &layout, InputFile *input, const Sink &sink) const
{
    sink(layout.directory.data(), layout.directory.size());
    std::string buffer;
    for (const Layout::Piece &piece : layout.pieces) {
        const Entry &e = *piece.entry;
        if (e.memory) {
            sink(e.memory->data() + e.offset, static_cast<std::size_t>(piece.length));
            continue;
        }
        // Slides still in the old file are copied in chunks: a large library
        // is never held in memory.
        for (std::uint64_t done = 0; done < piece.length;) {
            const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(kCopyChunk, piece.length - done));
            buffer.resize(chunk);
            input->readExactly(e.offset + done, buffer.data(), chunk, mSource->stamp.size);
            sink(buffer.data(), chunk);
            done += chunk;
        }
    }
}

std::unique_ptr<InputFile> Library::openSourceIfNeeded() const
{
    const bool fromFile = std::any_of(mEntries.begin(), mEntries.end(), [](const Entry &e) { return !e.memory; });
    if (!fromFile || !mSource)
        return {};
    auto input = std::make_unique<InputFile>(mSource->file);
    if (input->stamp() != mSource->stamp)
        throw Error(displayPath(mSource->file), Reason::Changed);
    return input;
}

void Library::writeTo(const Sink &sink) const
{
    const std::unique_ptr<InputFile> input = openSourceIfNeeded();
    writeWith(plan(input.get()), input.get(), sink);
}

std::string Library::toBytes() const
{
    std::string bytes;
    writeTo([&bytes](const char *data, std::size_t size) { bytes.append(data, size); });
    return bytes;
}

void Library::adopt(const Layout &layout, const fs::path &target)
{
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        Entry &e = mEntries[i];
        e.memory.reset();
        e.offset = layout.address[i];
        e.span = layout.length[i];
        e.length = layout.sound[i] ? static_cast<std::int64_t>(layout.length[i]) : -1;
        e.readable = true;
    }
    mFile = target;
    mKind = Kind::Library;
}

void Library::save(const fs::path &target, std::chrono::milliseconds wait)
{
    std::error_code ec;
    auto sameFile = [&ec](const fs::path &a, const fs::path &b) {
        return fs::equivalent(a, b, ec) || fs::absolute(a, ec).lexically_normal() == fs::absolute(b, ec).lexically_normal();
    };
    const bool overOwn = !mFile.empty() && sameFile(target, mFile);
    const bool ownLock = mLock.held() && sameFile(target, mLock.path());
    EditLock lock = ownLock ? EditLock() : EditLock::acquire(target, wait);

    std::unique_ptr<InputFile> input = openSourceIfNeeded();
    if (!input && overOwn && mSource) {
        // Every slide is in memory, but the file may still have been changed
        // by someone else since it was read: that change is not overwritten.
        try {
            if (stampOf(mSource->file) != mSource->stamp)
                throw Error(displayPath(mSource->file), Reason::Changed);
        } catch (const Error &e) {
            if (e.reason() == Reason::Changed)
                throw;
        }
    }
    const Layout layout = plan(input.get());
    AtomicFile out(target);
    writeWith(layout, input.get(), [&out](const char *data, std::size_t size) { out.write(data, size); });
    // Windows cannot rename over a file that is still open, even with
    // FILE_SHARE_DELETE: the read handle goes first. (The edit lock stays:
    // there it lives on a companion file, not on the library.)
    input.reset();
    out.commit();

    if (overOwn || mFile.empty()) {
        adopt(layout, target);
        mSource = std::make_shared<Source>(Source{target, out.committedStamp()});
    }
    if (ownLock)
        mLock.release();   // the edit is done
}

} // namespace quarvel::core
