#pragma once

// The one error type of the slide core. Every operation that cannot do its
// work throws it. It carries a reason code and its details, so that the
// command-line tool prints the English message and the windows word the same
// failure in their interface language.

#include "slidedata.h"

#include <cstdint>
#include <exception>
#include <string>

namespace quarvel::core {

enum class Reason : std::uint8_t {
    CannotRead,        // the system refused a read; sysError holds errno (0: see detail)
    CannotWrite,       // the system refused a write, flush, sync, close or rename; sysError as above
    NotSlideOrLibrary, // neither a slide library nor a slide
    NotASlide,         // a file given as a slide is not one; damage (else detail) tells why
    Damaged,           // slide `name` (or the file) is damaged: damage (else detail), at offset
    DirectoryDamaged,  // the library's directory cannot be read: detail
    Changed,           // the file has changed since it was opened; open it again
    Busy,              // is being changed by another program; try again
    NameEmpty,         // a slide name must not be empty
    NameTooLong,       // slide `name` takes `number` bytes; a library holds at most 31
    NameInvalid,       // slide `name` holds a character slide names cannot hold: detail (the character)
    NameUnrepresentable, // slide `name` holds a character code page `number` cannot represent: detail
    NoSuchSlide,       // there is no slide `name` (or number `number`)
    NameTaken,         // a slide named `detail` is already in the library (names compare without regard to case)
    LibraryFull,       // the library already holds `number` slides, the most it can
    TooLarge,          // the library would be larger than 4 GiB (or the file larger than 1 GiB)
    OutOfMemory,       // out of memory
    Other,             // detail says it (English only)
};

class Error : public std::exception
{
public:
    Error(std::string file, Reason reason, std::string detail = {}, std::int64_t offset = -1);

    // Setters for the details a reason uses; each returns *this so that a
    // throw site reads as one expression.
    Error &withSysError(int error);
    Error &withName(std::string name);
    Error &withNumber(std::int64_t number);
    Error &withDamage(Damage damage, std::int64_t value = 0);

    const std::string &file() const { return mFile; }   // UTF-8, native separators
    Reason reason() const { return mReason; }
    const std::string &detail() const { return mDetail; }
    std::int64_t offset() const { return mOffset; }
    int sysError() const { return mSysError; }
    const std::string &name() const { return mName; }   // escaped for showing (see escapeForDisplay)
    std::int64_t number() const { return mNumber; }
    Damage damage() const { return mDamage; }
    std::int64_t damageValue() const { return mDamageValue; }

    // English: "FILE: reason" or "FILE, byte N: reason"; the reason alone
    // when no file is concerned (a name refused before any file is touched).
    std::string message() const;
    // The reason alone, in English.
    std::string reasonText() const;
    const char *what() const noexcept override;

private:
    std::string mFile;
    Reason mReason;
    std::string mDetail;
    std::int64_t mOffset;
    int mSysError = 0;
    std::string mName;
    std::int64_t mNumber = 0;
    Damage mDamage = Damage::None;
    std::int64_t mDamageValue = 0;
    mutable std::string mWhat;
};

} // namespace quarvel::core
