#include "errortexts.h"

#include <cerrno>

namespace quarvel {

namespace {

QString utf8(const std::string &text)
{
    return QString::fromStdString(text);
}

struct Words
{
    const char *english;
    const char *russian;
};

QString pick(const Words &w, Language language)
{
    return QString::fromUtf8(language == Language::Russian ? w.russian : w.english);
}

} // namespace

QString systemErrorText(int error, Language language)
{
    static const struct
    {
        int error;
        Words words;
    } known[] = {
        {ENOSPC, {"no space left on device", "на диске нет места"}},
#ifdef EDQUOT // not in the Windows C library
        {EDQUOT, {"disk quota exceeded", "превышена дисковая квота"}},
#endif
        {EROFS, {"read-only file system", "файловая система доступна только для чтения"}},
        {EACCES, {"permission denied", "нет прав доступа"}},
        {EPERM, {"operation not permitted", "операция не разрешена"}},
        {ENOENT, {"no such file or folder", "нет такого файла или папки"}},
        {EIO, {"input/output error", "ошибка ввода-вывода"}},
        {EFBIG, {"file too large", "файл слишком велик"}},
        {EBUSY, {"device or resource busy", "устройство или ресурс занято"}},
        {ENOMEM, {"out of memory", "недостаточно памяти"}},
        {EISDIR, {"is a folder", "это папка"}},
    };
    for (const auto &k : known) {
        if (k.error == error)
            return pick(k.words, language);
    }
    return language == Language::Russian ? QStringLiteral("системная ошибка %1").arg(error)
                                         : QStringLiteral("system error %1").arg(error);
}

QString damageText(core::Damage damage, std::int64_t value, Language language)
{
    using core::Damage;
    const bool ru = language == Language::Russian;
    switch (damage) {
    case Damage::None: return {};
    case Damage::NoSlideHeader: return pick({"no slide header", "нет заголовка слайда"}, language);
    case Damage::HeaderTruncated:
        return pick({"the file ends inside the slide header", "файл обрывается внутри заголовка слайда"}, language);
    case Damage::BadByteOrder:
        return pick({"invalid byte-order test number", "неверное контрольное число порядка байтов"}, language);
    case Damage::UnknownLevel:
        return (ru ? QStringLiteral("неизвестная версия формата слайда %1")
                   : QStringLiteral("unknown slide format level %1"))
            .arg(value);
    case Damage::OldHeaderInvalid:
        return pick({"old-format header not valid in either byte order",
                     "заголовок старого формата неверен при любом порядке байтов"},
                    language);
    case Damage::UnknownRecord:
        return (ru ? QStringLiteral("неизвестный тип записи 0x%1") : QStringLiteral("unknown record type 0x%1"))
            .arg(QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0')));
    case Damage::RecordTruncated:
        return pick({"data ends inside a record", "данные обрываются внутри записи"}, language);
    case Damage::NoEndOfFile: return pick({"no end-of-file record", "нет записи конца файла"}, language);
    case Damage::FillNeverEnds:
        return pick({"solid-fill sequence never ends", "последовательность заливки не завершается"}, language);
    case Damage::FillVertexOutside:
        return pick({"solid-fill vertex outside a fill sequence", "вершина заливки вне последовательности заливки"},
                    language);
    }
    return {};
}

QString errorReasonText(const core::Error &error, Language language)
{
    using core::Reason;
    const bool ru = language == Language::Russian;
    const QString name = QLatin1Char('"') + utf8(error.name()) + QLatin1Char('"');
    const QString number = QString::number(error.number());
    // The system's reason; a detail without an error number is the
    // component's own English text, which a Russian message leaves out.
    const QString sys = error.sysError() != 0 ? systemErrorText(error.sysError(), language)
                        : !ru && !error.detail().empty() ? utf8(error.detail())
                                                         : pick({"unknown error", "неизвестная ошибка"}, language);
    const QString damage = error.damage() != core::Damage::None
                               ? damageText(error.damage(), error.damageValue(), language)
                               : (ru ? QString() : utf8(error.detail()));
    auto withDamage = [&](const QString &head) { return damage.isEmpty() ? head : head + QStringLiteral(": ") + damage; };
    switch (error.reason()) {
    case Reason::CannotRead: return (ru ? QStringLiteral("не удаётся прочитать: ") : QStringLiteral("cannot read: ")) + sys;
    case Reason::CannotWrite:
        return (ru ? QStringLiteral("не удаётся записать: ") : QStringLiteral("cannot write: ")) + sys;
    case Reason::NotSlideOrLibrary:
        return pick({"neither a slide library nor a slide", "не библиотека слайдов и не слайд"}, language);
    case Reason::NotASlide: return withDamage(pick({"not an AutoCAD slide", "не слайд AutoCAD"}, language));
    case Reason::Damaged:
        if (error.name().empty())
            return withDamage(pick({"the slide is damaged", "слайд повреждён"}, language));
        return withDamage((ru ? QStringLiteral("слайд %1 повреждён") : QStringLiteral("slide %1 is damaged")).arg(name));
    case Reason::DirectoryDamaged:
        return ru ? QStringLiteral("каталог библиотеки не читается")
                  : QStringLiteral("the library's directory cannot be read: ") + utf8(error.detail());
    case Reason::Changed:
        return pick({"the file has changed since it was opened; open it again",
                     "файл изменился после открытия; откройте его заново"},
                    language);
    case Reason::Busy:
        return pick({"is being changed by another program; try again", "изменяется другой программой; повторите позже"},
                    language);
    case Reason::NameEmpty: return pick({"a slide name must not be empty", "имя слайда не может быть пустым"}, language);
    case Reason::NameTooLong:
        return (ru ? QStringLiteral("имя слайда %1 занимает %2 байт; в библиотеке допустимо не более 31")
                   : QStringLiteral("slide name %1 takes %2 bytes; a library holds at most 31"))
            .arg(name, number);
    case Reason::NameInvalid:
        return (ru ? QStringLiteral("имя слайда %1 содержит недопустимый символ: %2")
                   : QStringLiteral("slide name %1 holds a character slide names cannot hold: %2"))
            .arg(name, utf8(error.detail()));
    case Reason::NameUnrepresentable:
        return (ru ? QStringLiteral("имя слайда %1 содержит символ, которого нет в кодовой странице %2: %3")
                   : QStringLiteral("slide name %1 holds a character code page %2 cannot represent: %3"))
            .arg(name, number, utf8(error.detail()));
    case Reason::NoSuchSlide:
        if (error.name().empty())
            return (ru ? QStringLiteral("нет слайда номер %1") : QStringLiteral("there is no slide number %1")).arg(number);
        return (ru ? QStringLiteral("нет слайда %1") : QStringLiteral("there is no slide %1")).arg(name);
    case Reason::NameTaken:
        return (ru ? QStringLiteral("слайд с именем \"%1\" уже есть в библиотеке (имена двух слайдов не могут совпадать)")
                   : QStringLiteral("a slide named \"%1\" is already in the library (two slides cannot share a name)"))
            .arg(utf8(error.detail()));
    case Reason::LibraryFull:
        return (ru ? QStringLiteral("в библиотеке уже %1 слайдов, больше она не вмещает")
                   : QStringLiteral("the library already holds %1 slides, the most it can"))
            .arg(number);
    case Reason::TooLarge:
        if (ru)
            return QStringLiteral("файл слишком велик");
        return error.detail().empty() ? QStringLiteral("the library would be larger than 4 GiB") : utf8(error.detail());
    case Reason::OutOfMemory: return pick({"out of memory", "недостаточно памяти"}, language);
    case Reason::Other:
        return ru ? QStringLiteral("непредвиденная ошибка") : utf8(error.detail());
    }
    return utf8(error.detail());
}

QString errorText(const core::Error &error, Language language)
{
    QString text = utf8(error.file());
    if (error.offset() >= 0)
        text += (language == Language::Russian ? QStringLiteral(", байт %1") : QStringLiteral(", byte %1")).arg(error.offset());
    return text + QStringLiteral(": ") + errorReasonText(error, language);
}

QString errorText(const SlideError &error, Language language)
{
    if (error.error().reason() == core::Reason::Other && language == Language::English)
        return error.message();
    return errorText(error.error(), language);
}

QString slideDamageText(const QString &slide, const DecodeResult &result, Language language)
{
    if (result.isSound())
        return {};
    const bool ru = language == Language::Russian;
    const core::Damage damage = result.damage != core::Damage::None ? result.damage
                                : !result.isSlide                    ? core::Damage::NoSlideHeader
                                                                     : core::Damage::NoEndOfFile;
    QString head;
    if (slide.isEmpty())
        head = ru ? QStringLiteral("слайд повреждён") : QStringLiteral("the slide is damaged");
    else
        head = (ru ? QStringLiteral("слайд \"%1\" повреждён") : QStringLiteral("slide \"%1\" is damaged")).arg(slide);
    if (result.errorOffset >= 0) {
        if (slide.isEmpty())
            head += (ru ? QStringLiteral(" (байт %1)") : QStringLiteral(" at byte %1")).arg(result.errorOffset);
        else
            head += (ru ? QStringLiteral(" (байт %1 слайда)") : QStringLiteral(" at byte %1 of the slide"))
                        .arg(result.errorOffset);
    }
    return head + QStringLiteral(": ") + damageText(damage, result.damageValue, language);
}

QString libraryProblemText(const core::LibraryProblem &problem, const QString &name, Language language)
{
    using Kind = core::LibraryProblem::Kind;
    const bool ru = language == Language::Russian;
    switch (problem.kind) {
    case Kind::HeaderTruncated:
        return pick({"the file ends inside the library header", "файл обрывается внутри заголовка библиотеки"}, language);
    case Kind::NoTerminator:
        return pick({"the directory has no terminating entry", "у каталога библиотеки нет завершающей записи"}, language);
    case Kind::DirectoryPastEnd:
        return pick({"the directory runs past the end of the file", "каталог библиотеки выходит за конец файла"},
                    language);
    case Kind::AddressInsideDirectory:
        return (ru ? QStringLiteral("адрес %1 слайда \"%2\" указывает внутрь каталога")
                   : QStringLiteral("address %1 of slide \"%2\" lies inside the directory"))
            .arg(problem.address)
            .arg(name);
    case Kind::AddressPastEnd:
        return (ru ? QStringLiteral("адрес %1 слайда \"%2\" указывает за конец файла")
                   : QStringLiteral("address %1 of slide \"%2\" lies past the end of the file"))
            .arg(problem.address)
            .arg(name);
    case Kind::SlideDamaged:
        return (ru ? QStringLiteral("слайд повреждён: ") : QStringLiteral("the slide is damaged: "))
               + damageText(problem.damage, 0, language);
    }
    return {};
}

MessageText saveDamagedQuestion(Language language, const QString &path, const QString &damage)
{
    MessageText m;
    m.icon = MessageIcon::Question;
    m.yesNo = true;
    m.title = QString::fromLatin1(kProgramName);
    m.text = language == Language::Russian
                 ? QStringLiteral("Файл %1\r\nповреждён: %2\r\nСохранить его как есть?").arg(path, damage)
                 : QStringLiteral("File %1\r\nis damaged: %2\r\nSave it as it stands?").arg(path, damage);
    return m;
}

QString directoryUnreadableText(const QString &what, Language language)
{
    return (language == Language::Russian ? QStringLiteral("каталог библиотеки не читается: %1")
                                          : QStringLiteral("the library's directory cannot be read: %1"))
        .arg(what);
}

MessageText slideNameInput(Language language, const QString &reason)
{
    MessageText m;
    const bool ru = language == Language::Russian;
    m.title = ru ? QStringLiteral("Новое имя Слайда") : QStringLiteral("New Name of Slide");
    const QString ask = ru ? QStringLiteral("Введите новое имя Слайда") : QStringLiteral("Enter new Name of Slide");
    m.text = reason.isEmpty() ? ask : reason + QStringLiteral("\r\n") + ask;
    return m;
}

} // namespace quarvel
