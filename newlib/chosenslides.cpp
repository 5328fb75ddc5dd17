#include "chosenslides.h"

#include "dialogpaths.h"
#include "errortexts.h"
#include "slideerror.h"
#include "slidelibrary.h"

namespace quarvel {

ChosenSlides::ChosenSlides(char16_t separator)
    : mSeparator(separator)
{
}

int ChosenSlides::SlideExist(const QString &strShotSLDName) const
{
    const QString key = strShotSLDName.toUpper();
    for (size_t row = 0; row < mRows.size(); ++row) {
        if (mRows[row].key == key)
            return int(row) + 1;
    }
    return 0;
}

int ChosenSlides::append(const QString &name, const QString &path)
{
    mRows.push_back({{name, path}, name.toUpper()});
    return count() - 1;
}

void ChosenSlides::remove(int row)
{
    if (row >= 0 && row < count())
        mRows.erase(mRows.begin() + row);
}

bool ChosenSlides::isValidTypedName(const QString &name)
{
    return !name.isEmpty() && !hasForbiddenNameCharacter(name) && !name.contains(u' ');
}

QString ChosenSlides::nameFault(const QString &name, Language language) const
{
    std::optional<core::Error> fault;
    if (!mCodec || mCodec->encodeNew(name, nullptr, &fault))
        return {};
    return fault ? errorReasonText(*fault, language) : QStringLiteral("?");
}

int ChosenSlides::AddSldToList(const QString &path, Prompts &prompts, Language language, AddAllRun *run)
{
    const QString name = GetShotName(path, mSeparator);
    const bool taken = SlideExist(name) != 0;
    const bool fits = isValidTypedName(name) && nameFault(name, language).isEmpty();
    if (!taken && fits)
        return append(name, path);

    MessageSpec question = duplicateSlideQuestion(language, path);
    question.withCancel = question.toAll = run != nullptr;
    // Whether to add the file under another name.
    auto underOtherName = [&] {
        if (run && run->sameAnswer)
            return *run->sameAnswer;
        switch (prompts.message(question)) {
        case Answer::Yes: return true;
        case Answer::YesToAll: return *(run->sameAnswer = true);
        case Answer::NoToAll: return *(run->sameAnswer = false);
        case Answer::Cancel:
            if (run)
                run->stopped = true;
            return false;
        default: return false;
        }
    };
    if (taken && !underOtherName())
        return -1;
    const InputText ask = newSlideNameInput(language);
    while (true) {
        // Cancel gives no name, which only asks again: the way out is a free
        // name, or No to the question that a taken name brings back. Within
        // an Add All, or for a name no library can hold, it skips the file.
        const std::optional<QString> answer = prompts.input(ask.prompt, ask.title, ask.defaultText);
        if (!answer && (run || !taken))
            return -1;
        const QString typed = answer.value_or(QString());
        if (typed.isEmpty())
            continue;
        if (!isValidTypedName(typed)) {
            prompts.message(invalidSlideNameMessage(language));
            continue;
        }
        if (const QString fault = nameFault(typed, language); !fault.isEmpty()) {
            prompts.message({PromptIcon::Critical, fault, ask.title});
            continue;
        }
        if (SlideExist(typed) == 0)
            return append(typed, path);
        if (!underOtherName())
            return -1;
    }
}

namespace {

// Whether a name the codec refuses would fit but for its length: each of its
// characters can be stored on its own.
bool refusedForLength(const NameCodec &codec, const QString &name)
{
    if (name.isEmpty())
        return false;
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype width = name.at(i).isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        if (!codec.encodeNew(name.mid(i, width)))
            return false;
        i += width;
    }
    return true;
}

} // namespace

std::optional<AddFailure> addChosenSlide(SlideLibrary &library, const ChosenSlide &slide, Language language)
{
    try {
        library.addSlideFile(slide.path, slide.name);
        return std::nullopt;
    } catch (const SlideError &added) {
        // The component names only its first complaint; a file that is a
        // slide must not be called one that is not.
        try {
            SlideLibrary::readSlideFile(slide.path);
        } catch (const SlideError &read) {
            return AddFailure{AddFailureKind::NotSlide, errorText(read, language)};
        }
        if (!library.codec().encodeNew(slide.name) && refusedForLength(library.codec(), slide.name))
            return AddFailure{AddFailureKind::NameTooLong, errorText(added, language)};
        return AddFailure{AddFailureKind::Other, errorText(added, language)};
    }
}

} // namespace quarvel
