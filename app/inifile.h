#pragma once

// The settings file: classic INI text ("[Section]" lines open sections,
// "key=value" lines hold values). Sections and keys match without regard to
// letter case; the first matching section and the first matching key in it
// win. Every call reads or rewrites the whole file and closes it again, so
// nothing holds the file open between calls.

#include <QString>

namespace quarvel {

// Values longer than this come back cut to it (in characters).
inline constexpr int kIniValueLimit = 674;

// The value of key in section, with spaces around it removed and one pair of
// matching surrounding quotes (" or ') taken off. A missing file, section or
// key, an empty value and a read error all give the empty string.
QString ReadIniString(const QString &file, const QString &section, const QString &key);

// ReadIniString converted to a number in the user's locale (the C form with a
// point is accepted too, so numbers this program wrote always read back);
// anything that is not a finite number gives 0.
double ReadIniNumber(const QString &file, const QString &section, const QString &key);

// Writes one key. An existing key keeps its line, only the value text after
// "=" changes; a new key goes after the last key of its section; a new section
// goes at the end of the file; the file is created when missing (its folder
// is not). All other bytes of the file stay as they were, and the file is
// replaced atomically, so a failed write leaves the old file intact.
// A value that would not read back the same (spaces at its ends, or matching
// quotes around it) is written in double quotes. Returns false, leaving the
// file untouched, when the file cannot be written or when a name or value
// would break the file's form (a line break or NUL anywhere, an empty name,
// "]" in a section name, "=" in a key, a key starting with "[" or ";") or
// holds a character the file's code page cannot (Windows: the ANSI one).
bool WriteIniString(const QString &file, const QString &section, const QString &key,
                    const QString &value);

} // namespace quarvel
