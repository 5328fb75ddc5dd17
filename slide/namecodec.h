#pragma once

// Slide names in a library are byte strings in the ANSI code page of the
// Windows that wrote the library. They are kept as bytes; this codec decodes
// them for showing and comparing, and encodes the names Quarvel creates.

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace quarvel {

inline constexpr int kMaxSlideNameBytes = 31;

class NameCodec
{
public:
    explicit NameCodec(int codePage = 1251);

    int codePage() const { return mCodePage; }
    bool isValid() const;

    QString decode(const QByteArray &bytes) const;

    // Encodes a name Quarvel creates (from a file name or typed by the user):
    // ASCII letters are upper-cased, as the classic library tool stores them;
    // other characters keep their case. Returns nothing and sets *why when the
    // name is empty, holds a character the code page cannot represent, or
    // takes more than 31 bytes.
    std::optional<QByteArray> encodeNew(const QString &name, QString *why = nullptr) const;

    // Names compare without regard to case, after decoding.
    bool sameName(const QString &a, const QString &b) const;

    static QList<int> supportedCodePages();

private:
    struct Converters;
    int mCodePage;
    std::shared_ptr<Converters> mConv;
};

} // namespace quarvel
