#include "slidelibrary.h"

#include "core/atomicfile.h"
#include "slideerror.h"
#include "wmfwriter.h"

#include <QDir>
#include <QFileInfo>

#include <new>
#include <utility>

namespace quarvel {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

QByteArray bytesOf(const std::string &s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

std::string stringOf(const QByteArray &b)
{
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// Runs a core call and turns its failures into SlideError.
template<typename Call>
auto guarded(Call &&call) -> decltype(call())
{
    try {
        return call();
    } catch (const core::Error &e) {
        throw SlideError(e);
    } catch (const std::bad_alloc &) {
        throw SlideError(core::Error({}, core::Reason::OutOfMemory));
    }
}

} // namespace

SlideLibrary::SlideLibrary(NameCodec codec)
    : mCodec(std::move(codec))
{
    mLibrary.setCodePage(mCodec.page());
}

QString SlideLibrary::nameFromPath(const QString &path)
{
    return QFileInfo(path).completeBaseName();
}

QString SlideLibrary::fileForErrors() const
{
    return mPath.isEmpty() ? QStringLiteral("new library") : native(mPath);
}

void SlideLibrary::refreshNames()
{
    mDisplay.clear();
    mDisplay.reserve(mLibrary.slideCount());
    for (std::size_t i = 0; i < mLibrary.slideCount(); ++i)
        mDisplay.push_back(mCodec.decode(bytesOf(mLibrary.name(i))));
    if (mKind == Kind::Slide && !mDisplay.empty())
        mDisplay.front() = nameFromPath(mPath);
}

void SlideLibrary::setLibraryFile(const QString &path)
{
    mPath = path;
    mKind = Kind::None;
    mLoadError.clear();
    mLoadFailure.reset();
    mProblems.clear();
    mNameError.clear();
    mLibrary = core::Library();
    mLibrary.setCodePage(mCodec.page());
    try {
        mLibrary = core::Library::open(fsPath(path));
        mLibrary.setCodePage(mCodec.page());
    } catch (const core::Error &e) {
        mLoadFailure = e;
        mLoadError = SlideError(e).message();
        refreshNames();
        return;
    } catch (const std::bad_alloc &) {
        mLoadFailure = core::Error(native(path).toStdString(), core::Reason::OutOfMemory);
        mLoadError = SlideError(*mLoadFailure).message();
        return;
    }
    mKind = mLibrary.kind() == core::Library::Kind::Slide ? Kind::Slide : Kind::Library;
    for (const core::LibraryProblem &p : mLibrary.problems()) {
        QString what = QString::fromStdString(p.message());
        if (p.kind == core::LibraryProblem::Kind::AddressInsideDirectory
            || p.kind == core::LibraryProblem::Kind::AddressPastEnd) {
            what = QStringLiteral("address %1 of slide \"%2\" lies %3")
                       .arg(p.address)
                       .arg(mCodec.decode(bytesOf(p.name)))
                       .arg(p.kind == core::LibraryProblem::Kind::AddressInsideDirectory
                                ? QStringLiteral("inside the directory")
                                : QStringLiteral("past the end of the file"));
        }
        mProblems.push_back({p.offset, what});
    }
    if (mKind == Kind::Slide)
        loadSingleSlide();
    refreshNames();
}

void SlideLibrary::loadSingleSlide()
{
    // A single slide is named after its file, as a library would store it.
    QString why;
    if (const auto encoded = mCodec.encodeNew(nameFromPath(mPath), &why)) {
        try {
            mLibrary.rename(0, stringOf(*encoded));
        } catch (const core::Error &e) {
            mNameError = QString::fromStdString(e.reasonText());
        }
    } else {
        mNameError = why;
    }
}

QString SlideLibrary::slideName(int index) const
{
    if (index < 0 || index >= slideCount())
        return {};
    return mDisplay[static_cast<std::size_t>(index)];
}

QByteArray SlideLibrary::slideNameBytes(int index) const
{
    if (index < 0 || index >= slideCount())
        return {};
    return bytesOf(mLibrary.name(static_cast<std::size_t>(index)));
}

int SlideLibrary::indexOf(const QString &name) const
{
    for (int i = 0; i < slideCount(); ++i) {
        if (mCodec.sameName(mDisplay[static_cast<std::size_t>(i)], name))
            return i;
    }
    return -1;
}

QByteArray SlideLibrary::slideData(int index) const
{
    return guarded([&] { return bytesOf(mLibrary.slideBytes(static_cast<std::size_t>(index))); });
}

DecodeResult SlideLibrary::decode(int index, SlideDrawing *drawing) const
{
    return guarded([&] { return mLibrary.decode(static_cast<std::size_t>(index), drawing); });
}

void SlideLibrary::exportToSld(const QString &target, int index) const
{
    guarded([&] { mLibrary.exportSlide(static_cast<std::size_t>(index), fsPath(target)); });
}

void SlideLibrary::exportToWmf(const QString &target, int index, QColor background) const
{
    SlideDrawing drawing;
    const DecodeResult r = decode(index, &drawing);
    if (!r.isSlide) {
        throw SlideError(fileForErrors(),
                         QStringLiteral("slide \"%1\" is not a slide: %2").arg(slideName(index), QString::fromStdString(r.error)),
                         r.errorOffset);
    }
    const QByteArray picture = guarded([&] { return slideToWmf(r.header, drawing, background); });
    guarded([&] {
        core::writeFileAtomically(fsPath(target), std::string_view(picture.constData(), static_cast<std::size_t>(picture.size())));
    });
}

QByteArray SlideLibrary::readSlideFile(const QString &path)
{
    return guarded([&] { return bytesOf(core::Library::readSlideFile(fsPath(path))); });
}

void SlideLibrary::addSlideFile(const QString &path)
{
    addSlideFile(path, nameFromPath(path));
}

void SlideLibrary::addSlideFile(const QString &path, const QString &name)
{
    // Check the slide first: a file that is not a slide is the more basic fault.
    const QByteArray slide = readSlideFile(path);
    QString why;
    std::optional<core::Error> failure;
    const auto encoded = mCodec.encodeNew(name, &why, &failure);
    if (!encoded) {
        if (failure)
            throw SlideError(core::Error(failure->file().empty() ? native(path).toStdString() : failure->file(),
                                         failure->reason(), failure->detail(), failure->offset())
                                 .withName(failure->name())
                                 .withNumber(failure->number()));
        throw SlideError(native(path), why);
    }
    addSlideData(slide, *encoded, native(path));
}

void SlideLibrary::addSlideData(const QByteArray &slide, const QByteArray &nameBytes,
                                const QString &sourceForErrors)
{
    guarded([&] { mLibrary.add(stringOf(nameBytes), stringOf(slide), sourceForErrors.toStdString()); });
    mDisplay.push_back(mCodec.decode(nameBytes));
}

void SlideLibrary::replaceSlide(int index, const QString &path)
{
    if (index >= 0 && index < slideCount() && mKind == Kind::Slide && !mNameError.isEmpty())
        throw SlideError(fileForErrors(), mNameError);
    if (index < 0)
        index = slideCount();   // the core names it as missing
    guarded([&] { mLibrary.replace(static_cast<std::size_t>(index), fsPath(path)); });
    const QString display = mDisplay[static_cast<std::size_t>(index)];
    mDisplay.erase(mDisplay.begin() + index);
    mDisplay.push_back(display);
}

void SlideLibrary::deleteSlide(int index)
{
    if (index < 0)
        index = slideCount();
    guarded([&] { mLibrary.remove(static_cast<std::size_t>(index)); });
    mDisplay.erase(mDisplay.begin() + index);
}

void SlideLibrary::renameSlide(int index, const QString &name)
{
    if (index < 0)
        index = slideCount();
    guarded([&] { mLibrary.name(static_cast<std::size_t>(index)); });
    QString why;
    std::optional<core::Error> failure;
    const auto encoded = mCodec.encodeNew(name, &why, &failure);
    if (!encoded) {
        if (failure)
            throw SlideError(core::Error(fileForErrors().toStdString(), failure->reason(), failure->detail())
                                 .withName(failure->name())
                                 .withNumber(failure->number()));
        throw SlideError(fileForErrors(), why);
    }
    guarded([&] { mLibrary.rename(static_cast<std::size_t>(index), stringOf(*encoded)); });
    mDisplay[static_cast<std::size_t>(index)] = mCodec.decode(*encoded);
    if (mKind == Kind::Slide)
        mNameError.clear();
}

core::KeptSlide SlideLibrary::keepSlide(int index) const
{
    if (index < 0)
        index = slideCount();
    return guarded([&] { return mLibrary.keep(static_cast<std::size_t>(index)); });
}

void SlideLibrary::insertSlide(int index, core::KeptSlide slide)
{
    if (index < 0)
        index = slideCount() + 1;
    const QString display = mCodec.decode(bytesOf(slide.name));
    guarded([&] { mLibrary.insert(static_cast<std::size_t>(index), std::move(slide)); });
    mDisplay.insert(mDisplay.begin() + index, display);
}

void SlideLibrary::restoreSlideName(int index, const QByteArray &nameBytes)
{
    if (index < 0)
        index = slideCount();
    guarded([&] { mLibrary.rename(static_cast<std::size_t>(index), stringOf(nameBytes)); });
    mDisplay[static_cast<std::size_t>(index)] = mCodec.decode(nameBytes);
}

void SlideLibrary::saveLibrary(const QString &target)
{
    if (mKind == Kind::None && !mPath.isEmpty() && !mLoadError.isEmpty())
        throw SlideError(fileForErrors(), QStringLiteral("there is no slide to save: %1").arg(mLoadError));
    if (!mNameError.isEmpty())
        throw SlideError(fileForErrors(), mNameError);
    guarded([&] { mLibrary.save(fsPath(target)); });
    if (mKind == Kind::Slide && mLibrary.kind() == core::Library::Kind::Library) {
        mKind = Kind::Library;   // saved over its own file: the file is a library now
        refreshNames();
    }
}

QByteArray SlideLibrary::toLibraryBytes() const
{
    if (!mNameError.isEmpty())
        throw SlideError(fileForErrors(), mNameError);
    return guarded([&] { return bytesOf(mLibrary.toBytes()); });
}

} // namespace quarvel
