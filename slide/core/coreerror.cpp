#include "coreerror.h"

#include <cstring>

namespace quarvel::core {

Error::Error(std::string file, Reason reason, std::string detail, std::int64_t offset)
    : mFile(std::move(file)), mReason(reason), mDetail(std::move(detail)), mOffset(offset)
{
}

Error &Error::withSysError(int error)
{
    mSysError = error;
    return *this;
}

Error &Error::withName(std::string name)
{
    mName = std::move(name);
    return *this;
}

Error &Error::withNumber(std::int64_t number)
{
    mNumber = number;
    return *this;
}

Error &Error::withDamage(Damage damage, std::int64_t value)
{
    mDamage = damage;
    mDamageValue = value;
    return *this;
}

std::string Error::reasonText() const
{
    const std::string quoted = "\"" + mName + "\"";
    // What the damage code says; the detail only when there is no code, so
    // that no message says its reason twice.
    const std::string why = mDamage != Damage::None ? damageText(mDamage, mDamageValue) : mDetail;
    const std::string sys = !mDetail.empty() ? mDetail
                            : mSysError != 0 ? std::string(std::strerror(mSysError))
                                             : std::string("unknown error");
    switch (mReason) {
    case Reason::CannotRead: return "cannot read: " + sys;
    case Reason::CannotWrite: return "cannot write: " + sys;
    case Reason::NotSlideOrLibrary: return "neither a slide library nor a slide";
    case Reason::NotASlide: return why.empty() ? "not an AutoCAD slide" : "not an AutoCAD slide: " + why;
    case Reason::Damaged: {
        const std::string head = mName.empty() ? "the slide is damaged" : "slide " + quoted + " is damaged";
        return why.empty() ? head : head + ": " + why;
    }
    case Reason::DirectoryDamaged: return "the library's directory cannot be read: " + mDetail;
    case Reason::Changed: return "the file has changed since it was opened; open it again";
    case Reason::Busy: return "is being changed by another program; try again";
    case Reason::NameEmpty: return "a slide name must not be empty";
    case Reason::NameTooLong:
        return "slide name " + quoted + " takes " + std::to_string(mNumber) + " bytes; a library holds at most 31";
    case Reason::NameInvalid:
        return "slide name " + quoted + " holds a character slide names cannot hold: '" + mDetail + "'";
    case Reason::NameUnrepresentable:
        return "slide name " + quoted + " holds a character code page " + std::to_string(mNumber)
               + " cannot represent: '" + mDetail + "'";
    case Reason::NoSuchSlide:
        return mName.empty() ? "there is no slide number " + std::to_string(mNumber) : "there is no slide " + quoted;
    case Reason::NameTaken:
        return "a slide named \"" + mDetail + "\" is already in the library (two slides cannot share a name)";
    case Reason::LibraryFull:
        return "the library already holds " + std::to_string(mNumber) + " slides, the most it can";
    case Reason::TooLarge: return mDetail.empty() ? "the library would be larger than 4 GiB" : mDetail;
    case Reason::OutOfMemory: return "out of memory";
    case Reason::Other: return mDetail;
    }
    return mDetail;
}

std::string Error::message() const
{
    if (mFile.empty())
        return reasonText();
    std::string text = mFile;
    if (mOffset >= 0)
        text += ", byte " + std::to_string(mOffset);
    return text + ": " + reasonText();
}

const char *Error::what() const noexcept
{
    try {
        mWhat = message();
    } catch (...) {
        return "out of memory";
    }
    return mWhat.c_str();
}

} // namespace quarvel::core
