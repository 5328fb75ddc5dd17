#pragma once

// Slide names in a library are byte strings in the ANSI code page of the
// Windows that wrote the library. The bytes are a name's identity; this class
// decodes them for showing (UTF-8, with every byte that is a control character
// or does not decode shown as a visible escape), encodes the names Quarvel
// creates, and compares names without regard to letter case.
//
// Converters are created on first use, and only for names that hold a byte
// of 0x80 or above: opening one costs about a millisecond and a half.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::core {

inline constexpr int kMaxSlideNameBytes = 31;

struct CodePageInfo
{
    int number;          // Windows code page number
    const char *name;    // English name for a list of choices, e.g. "Cyrillic (Windows)"
};

class NameCodePage
{
public:
    explicit NameCodePage(int number = 1251);

    int number() const { return mNumber; }
    // True when the number is one of supportedCodePages().
    bool isSupported() const;

    // The name for showing, as UTF-8. Control bytes and characters (C0, DEL,
    // C1) and bytes that do not decode appear as \xHH, a backslash as \\, so
    // that different names never show alike.
    std::string decode(std::string_view raw) const;

    // Encodes a name Quarvel creates (from a file name or typed by the user):
    // checkCharacters first, then ASCII letters upper-cased (as the classic
    // library tool stores them; other letters keep their case), then at most
    // kMaxSlideNameBytes bytes in this code page. Throws core::Error with
    // NameEmpty, NameInvalid, NameUnrepresentable (number: the code page)
    // or NameTooLong (number: the byte count).
    std::string encodeNew(std::string_view name) const;

    // Whether two names from a library are the same without regard to case.
    bool sameName(std::string_view rawA, std::string_view rawB) const;

    // Whether a name typed by the user (UTF-8) names the slide with the raw
    // name: either its shown form (escapes and all, e.g. "\x81") or, for a
    // name that needs no escape but backslashes, the name as written.
    // Letter case is ignored.
    bool matches(std::string_view raw, std::string_view typed) const;

    // The one rule for the characters of a name entering a library (Add,
    // Save As, rename, the new-library builder): not empty; none of
    // / \ : * ? " < > |, no blank and no control character. Throws
    // core::Error with NameEmpty or NameInvalid (detail: the character).
    static void checkCharacters(std::string_view name);

    // UTF-8 text with control characters, a backslash and invalid UTF-8
    // bytes escaped as decode() does; for names that come from elsewhere.
    static std::string escapeForDisplay(std::string_view text);

    // Equality of UTF-8 texts without regard to case (ASCII, Latin-1 and
    // Latin Extended-A, Vietnamese, Greek, Cyrillic).
    static bool sameText(std::string_view a, std::string_view b);
    static std::string foldCase(std::string_view text);

    static const std::vector<CodePageInfo> &supportedCodePages();

private:
    struct Converters;
    Converters *converters() const;
    std::string decodeImpl(std::string_view raw, bool *clean) const;

    int mNumber;
    std::shared_ptr<Converters> mConv;
};

} // namespace quarvel::core
