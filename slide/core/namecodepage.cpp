#include "namecodepage.h"

#include "coreerror.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#include <mutex>
#endif

namespace quarvel::core {

namespace {

struct CodePageEntry
{
    int number;
    const char *name;
    const char *iconvName;
    int maxCharBytes;
};

const CodePageEntry kCodePages[] = {
    {437, "OEM United States", "IBM437", 1},
    {850, "OEM Multilingual Latin 1", "IBM850", 1},
    {866, "OEM Russian", "IBM866", 1},
    {874, "Thai (Windows)", "WINDOWS-874", 1},
    {932, "Japanese (Shift-JIS)", "CP932", 2},
    {936, "Chinese Simplified (GBK)", "CP936", 2},
    {949, "Korean (Unified Hangul)", "CP949", 2},
    {950, "Chinese Traditional (Big5)", "CP950", 2},
    {1250, "Central European (Windows)", "WINDOWS-1250", 1},
    {1251, "Cyrillic (Windows)", "WINDOWS-1251", 1},
    {1252, "Western European (Windows)", "WINDOWS-1252", 1},
    {1253, "Greek (Windows)", "WINDOWS-1253", 1},
    {1254, "Turkish (Windows)", "WINDOWS-1254", 1},
    {1255, "Hebrew (Windows)", "WINDOWS-1255", 1},
    {1256, "Arabic (Windows)", "WINDOWS-1256", 1},
    {1257, "Baltic (Windows)", "WINDOWS-1257", 1},
    {1258, "Vietnamese (Windows)", "WINDOWS-1258", 1},
};

const CodePageEntry *findCodePage(int number)
{
    for (const CodePageEntry &e : kCodePages) {
        if (e.number == number)
            return &e;
    }
    return nullptr;
}

bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

void appendEscape(std::string &out, unsigned char byte)
{
    static const char digits[] = "0123456789abcdef";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 15];
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Reads one UTF-8 character at text[i]; returns its length, 0 for a byte
// that does not start a valid character (overlong forms and surrogates
// included).
std::size_t readUtf8(std::string_view text, std::size_t i, char32_t &c)
{
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
        c = b;
        return 1;
    }
    std::size_t len;
    char32_t min;
    if ((b & 0xE0) == 0xC0) {
        len = 2, c = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3, c = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4, c = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > text.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto t = static_cast<unsigned char>(text[i + k]);
        if ((t & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (t & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return len;
}

char32_t foldChar(char32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    if (c == 0x178)
        return 0xFF;
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? c + 1 : c;
    if (c == 0x1A0 || c == 0x1AF)
        return c + 1;
    if (c >= 0x1E00 && c <= 0x1EFF && c != 0x1E9E && !(c >= 0x1E96 && c <= 0x1E9F))
        return c | 1;
    if (c == 0x386)
        return 0x3AC;
    if (c >= 0x388 && c <= 0x38A)
        return c + 37;
    if (c == 0x38C)
        return 0x3CC;
    if (c == 0x38E || c == 0x38F)
        return c + 63;
    if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB))
        return c + 32;
    if (c == 0x3C2)
        return 0x3C3;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF))
        return c | 1;
    return c;
}

bool plainAscii(std::string_view raw)
{
    for (char ch : raw) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b >= 0x7F || b == '\\')
            return false;
    }
    return true;
}

bool hasHighByte(std::string_view raw)
{
    return std::any_of(raw.begin(), raw.end(), [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; });
}

enum class Conversion { Ok, Incomplete, Invalid };

} // namespace

// The system converters of one code page, opened on first use. Copies of a
// NameCodePage share them; names may be decoded on any thread.
struct NameCodePage::Converters
{
    explicit Converters(const CodePageEntry *entry) : entry(entry) {}
    ~Converters();

    // Decodes all of in (bytes in the code page) to UTF-8.
    Conversion toUtf8(std::string_view in, std::string &out);
    // Encodes all of in (UTF-8) into the code page; false when a character
    // has no representation.
    bool fromUtf8(std::string_view in, std::string &out);

    const CodePageEntry *entry;
#ifndef _WIN32
    // The system calls on Windows keep no state; an iconv descriptor does.
    std::mutex mutex;
    bool open();
    bool tried = false;
    iconv_t decoder = reinterpret_cast<iconv_t>(-1);
    iconv_t encoder = reinterpret_cast<iconv_t>(-1);
#endif
};

#ifdef _WIN32

namespace {

constexpr UINT kVietnamese = 1258;

// Unicode normal form C or D of text (text itself when Windows cannot say).
std::wstring normalized(NORM_FORM form, const std::wstring &text)
{
    if (text.empty())
        return text;
    const int size = NormalizeString(form, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0)
        return text;
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    const int n = NormalizeString(form, text.data(), static_cast<int>(text.size()), out.data(), size);
    if (n <= 0)
        return text;
    out.resize(static_cast<std::size_t>(n));
    return out;
}

bool isCombiningMark(wchar_t c)
{
    WORD type = 0;
    return GetStringTypeW(CT_CTYPE3, &c, 1, &type) && (type & C3_NONSPACING) && !(type & C3_ALPHA);
}

// The form a code page that writes some accents as separate marks (1258)
// can hold: each letter joined with the one of its marks that gives a
// character of its own (the rest follow as marks), as iconv writes it.
std::wstring partlyComposed(const std::wstring &text, UINT codePage)
{
    const std::wstring apart = normalized(NormalizationD, text);
    std::wstring out;
    for (std::size_t i = 0; i < apart.size();) {
        std::size_t end = i + 1;
        while (end < apart.size() && isCombiningMark(apart[end]))
            ++end;
        std::wstring cluster = apart.substr(i, end - i);
        for (std::size_t m = 1; m < cluster.size(); ++m) {
            const std::wstring joined = normalized(NormalizationC, cluster.substr(0, 1) + cluster[m]);
            char byte[8];
            BOOL usedDefault = FALSE;
            if (joined.size() == 1
                && WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, joined.data(), 1, byte, sizeof byte, nullptr,
                                       &usedDefault) == 1
                && !usedDefault) {
                cluster = joined + cluster.substr(1, m - 1) + cluster.substr(m + 1);
                break;
            }
        }
        out += cluster;
        i = end;
    }
    return out;
}

} // namespace

NameCodePage::Converters::~Converters() = default;

Conversion NameCodePage::Converters::toUtf8(std::string_view in, std::string &out)
{
    out.clear();
    const UINT cp = static_cast<UINT>(entry->number);
    if (in.empty())
        return Conversion::Ok;
    if (in.size() == 1 && IsDBCSLeadByteEx(cp, static_cast<BYTE>(in[0])))
        return Conversion::Incomplete;
    wchar_t wide[128];
    const int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, in.data(), static_cast<int>(in.size()), wide,
                                      static_cast<int>(std::size(wide)));
    if (n <= 0)
        return Conversion::Invalid;
    // Code page 1258 writes some accented letters as a letter and a mark:
    // they are shown as the one character they make, as iconv gives them.
    // Other code pages are left as decoded (normal form C would also change
    // some CJK compatibility characters).
    std::wstring text(wide, static_cast<std::size_t>(n));
    if (cp == kVietnamese)
        text = normalized(NormalizationC, text);
    const std::size_t count = text.size();
    for (std::size_t i = 0; i < count; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        appendUtf8(out, c);
    }
    return Conversion::Ok;
}

bool NameCodePage::Converters::fromUtf8(std::string_view in, std::string &out)
{
    out.clear();
    std::wstring wide;
    for (std::size_t i = 0; i < in.size();) {
        char32_t c;
        const std::size_t len = readUtf8(in, i, c);
        if (len == 0)
            return false;
        if (c >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(c);
        }
        i += len;
    }
    if (wide.empty())
        return true;
    const UINT cp = static_cast<UINT>(entry->number);
    const auto encode = [&](const std::wstring &text) {
        char buffer[256];
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                          buffer, sizeof buffer, nullptr, &usedDefault);
        if (n <= 0 || usedDefault)
            return false;
        out.assign(buffer, static_cast<std::size_t>(n));
        return true;
    };
    return encode(wide) || (cp == kVietnamese && encode(partlyComposed(wide, cp)));
}

#else

NameCodePage::Converters::~Converters()
{
    if (decoder != reinterpret_cast<iconv_t>(-1))
        iconv_close(decoder);
    if (encoder != reinterpret_cast<iconv_t>(-1))
        iconv_close(encoder);
}

bool NameCodePage::Converters::open()
{
    if (!tried && entry) {
        tried = true;
        decoder = iconv_open("UTF-8", entry->iconvName);
        encoder = iconv_open(entry->iconvName, "UTF-8");
    }
    return decoder != reinterpret_cast<iconv_t>(-1) && encoder != reinterpret_cast<iconv_t>(-1);
}

namespace {

// Runs one whole conversion, flushing what a converter holds back (the
// Vietnamese one waits for combining marks).
Conversion runIconv(iconv_t cd, std::string_view in, std::string &out)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.resize(in.size() * 4 + 16);
    char *src = const_cast<char *>(in.data());
    std::size_t srcLeft = in.size();
    char *dst = out.data();
    std::size_t dstLeft = out.size();
    Conversion result = Conversion::Ok;
    const std::size_t done = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    if (done == static_cast<std::size_t>(-1))
        result = errno == EINVAL ? Conversion::Incomplete : Conversion::Invalid;
    else if (done != 0)   // characters replaced by approximations
        result = Conversion::Invalid;
    else if (iconv(cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<std::size_t>(-1))
        result = Conversion::Invalid;
    out.resize(out.size() - dstLeft);
    return result;
}

} // namespace

Conversion NameCodePage::Converters::toUtf8(std::string_view in, std::string &out)
{
    const std::lock_guard lock(mutex);
    if (!open())
        return Conversion::Invalid;
    return runIconv(decoder, in, out);
}

bool NameCodePage::Converters::fromUtf8(std::string_view in, std::string &out)
{
    const std::lock_guard lock(mutex);
    if (!open())
        return false;
    return runIconv(encoder, in, out) == Conversion::Ok;
}

#endif

NameCodePage::NameCodePage(int number)
    : mNumber(number), mConv(std::make_shared<Converters>(findCodePage(number)))
{
}

bool NameCodePage::isSupported() const
{
    return findCodePage(mNumber) != nullptr;
}

NameCodePage::Converters *NameCodePage::converters() const
{
    return mConv->entry ? mConv.get() : nullptr;
}

const std::vector<CodePageInfo> &NameCodePage::supportedCodePages()
{
    static const std::vector<CodePageInfo> pages = [] {
        std::vector<CodePageInfo> list;
        for (const CodePageEntry &e : kCodePages)
            list.push_back({e.number, e.name});
        return list;
    }();
    return pages;
}

std::string NameCodePage::decodeImpl(std::string_view raw, bool *clean) const
{
    *clean = true;
    if (plainAscii(raw))
        return std::string(raw);
    Converters *conv = hasHighByte(raw) ? converters() : nullptr;
    std::string out;
    if (conv && conv->toUtf8(raw, out) == Conversion::Ok) {
        bool plain = true;
        for (std::size_t i = 0; i < out.size(); ++i) {
            const auto b = static_cast<unsigned char>(out[i]);
            const bool c1 = b == 0xC2 && i + 1 < out.size() && static_cast<unsigned char>(out[i + 1]) <= 0x9F;
            if (b < 0x20 || b == 0x7F || b == '\\' || c1)
                plain = false;
        }
        // Decoded whole, so that a converter that joins a letter and its
        // accent (Vietnamese, Hebrew) shows the name as it shows elsewhere.
        if (plain)
            return out;
    }
    // Character by character, so that each byte that does not decode, and
    // each control character, is shown by its own bytes.
    out.clear();
    std::string piece;
    const int maxLen = conv ? conv->entry->maxCharBytes : 1;
    for (std::size_t i = 0; i < raw.size();) {
        const auto b = static_cast<unsigned char>(raw[i]);
        std::size_t len = 0;
        if (b < 0x80) {
            len = 1;
            piece.assign(1, raw[i]);
        } else if (conv) {
            for (std::size_t n = 1; n <= static_cast<std::size_t>(maxLen) && i + n <= raw.size(); ++n) {
                const Conversion r = conv->toUtf8(raw.substr(i, n), piece);
                if (r == Conversion::Ok && !piece.empty())
                    len = n;
                if (r != Conversion::Incomplete)
                    break;
            }
        }
        if (len == 0) {
            appendEscape(out, b);
            *clean = false;
            ++i;
            continue;
        }
        bool control = false;
        for (std::size_t k = 0; k < piece.size();) {
            char32_t c;
            const std::size_t n = readUtf8(piece, k, c);
            if (n == 0 || isControl(c))
                control = true;
            k += n ? n : 1;
        }
        if (control) {
            for (std::size_t k = 0; k < len; ++k)
                appendEscape(out, static_cast<unsigned char>(raw[i + k]));
            *clean = false;
        } else if (piece == "\\") {
            out += "\\\\";
        } else {
            out += piece;
        }
        i += len;
    }
    return out;
}

std::string NameCodePage::decode(std::string_view raw) const
{
    bool clean;
    return decodeImpl(raw, &clean);
}

std::string NameCodePage::escapeForDisplay(std::string_view text)
{
    if (plainAscii(text))
        return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        char32_t c;
        const std::size_t len = readUtf8(text, i, c);
        if (len == 0 || isControl(c)) {
            for (std::size_t k = 0; k < std::max<std::size_t>(len, 1); ++k)
                appendEscape(out, static_cast<unsigned char>(text[i + k]));
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out.append(text.substr(i, len));
        }
        i += std::max<std::size_t>(len, 1);
    }
    return out;
}

void NameCodePage::checkCharacters(std::string_view name)
{
    if (name.empty())
        throw Error({}, Reason::NameEmpty);
    for (std::size_t i = 0; i < name.size();) {
        char32_t c;
        const std::size_t len = readUtf8(name, i, c);
        const bool forbidden = len == 0 || isControl(c) || c == ' '
                               || (c < 0x80 && std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos);
        if (forbidden) {
            const std::string shown = escapeForDisplay(name.substr(i, std::max<std::size_t>(len, 1)));
            throw Error({}, Reason::NameInvalid, shown).withName(escapeForDisplay(name));
        }
        i += len;
    }
}

std::string NameCodePage::encodeNew(std::string_view name) const
{
    checkCharacters(name);
    std::string upper(name);
    for (char &ch : upper) {
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    }
    std::string bytes;
    if (hasHighByte(upper)) {
        Converters *conv = converters();
        // The converters are asked to refuse what they cannot represent
        // exactly (no replacement, no best fit).
        if (!conv || !conv->fromUtf8(upper, bytes)) {
            // Name the first character the code page lacks.
            std::string one;
            std::string culprit = upper;
            for (std::size_t i = 0; i < upper.size();) {
                char32_t c;
                const std::size_t len = std::max<std::size_t>(readUtf8(upper, i, c), 1);
                const std::string_view piece = std::string_view(upper).substr(i, len);
                if (!conv || !conv->fromUtf8(piece, one)) {
                    culprit = std::string(piece);
                    break;
                }
                i += len;
            }
            throw Error({}, Reason::NameUnrepresentable, escapeForDisplay(culprit))
                .withName(escapeForDisplay(name))
                .withNumber(mNumber);
        }
    } else {
        bytes = std::move(upper);
    }
    if (bytes.size() > static_cast<std::size_t>(kMaxSlideNameBytes))
        throw Error({}, Reason::NameTooLong).withName(escapeForDisplay(name)).withNumber(static_cast<std::int64_t>(bytes.size()));
    return bytes;
}

std::string NameCodePage::foldCase(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c;
        const std::size_t len = readUtf8(text, i, c);
        if (len == 0) {
            out += text[i++];
            continue;
        }
        appendUtf8(out, foldChar(c));
        i += len;
    }
    return out;
}

bool NameCodePage::sameText(std::string_view a, std::string_view b)
{
    if (a == b)
        return true;
    if (!hasHighByte(a) && !hasHighByte(b)) {
        return a.size() == b.size()
               && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                      return static_cast<char>(foldChar(static_cast<unsigned char>(x)))
                             == static_cast<char>(foldChar(static_cast<unsigned char>(y)));
                  });
    }
    return foldCase(a) == foldCase(b);
}

bool NameCodePage::sameName(std::string_view rawA, std::string_view rawB) const
{
    if (rawA == rawB)
        return true;
    if (!hasHighByte(rawA) && !hasHighByte(rawB))
        return sameText(rawA, rawB);
    return sameText(decode(rawA), decode(rawB));
}

bool NameCodePage::matches(std::string_view raw, std::string_view typed) const
{
    bool clean;
    const std::string shown = decodeImpl(raw, &clean);
    if (sameText(shown, typed))
        return true;
    if (!clean || shown.find('\\') == std::string::npos)
        return false;
    std::string literal;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        literal += shown[i];
        if (shown[i] == '\\')
            ++i;   // every backslash of a clean name is shown doubled
    }
    return sameText(literal, typed);
}

} // namespace quarvel::core
