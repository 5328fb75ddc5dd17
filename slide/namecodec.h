#pragma once

// Slide names in a library are byte strings in the ANSI code page of the
// Windows that wrote the library. They are kept as bytes; this codec (a Qt
// face of core::NameCodePage) decodes them for showing and comparing, and
// encodes the names Quarvel creates.

#include "core/coreerror.h"
#include "core/namecodepage.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace quarvel {

using core::kMaxSlideNameBytes;

class NameCodec
{
public:
    explicit NameCodec(int codePage = 1251) : mPage(codePage) {}

    int codePage() const { return mPage.number(); }
    bool isValid() const { return mPage.isSupported(); }
    const core::NameCodePage &page() const { return mPage; }

    // The name for showing: control bytes and bytes that do not decode
    // appear as visible escapes (\x1b), a backslash as \\.
    QString decode(const QByteArray &bytes) const;

    // Encodes a name Quarvel creates (from a file name or typed by the user)
    // by the one rule for names entering a library: ASCII letters are
    // upper-cased, as the classic library tool stores them; other characters
    // keep their case. Returns nothing and sets *why (English) and *error
    // when the name is empty, holds a character names cannot hold or the code
    // page cannot represent, or takes more than 31 bytes.
    std::optional<QByteArray> encodeNew(const QString &name, QString *why = nullptr,
                                        std::optional<core::Error> *error = nullptr) const;

    // Names compare without regard to case, after decoding.
    bool sameName(const QString &a, const QString &b) const;
    // Whether a typed name (the shown form, escapes and all) names raw.
    bool matches(const QByteArray &raw, const QString &typed) const;

    static QList<int> supportedCodePages();

private:
    core::NameCodePage mPage;
};

} // namespace quarvel
