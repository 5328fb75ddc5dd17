// The chosen-slides list without its window: names unique without regard to
// case, the duplicate question and the rename loop, and how a row goes into
// a library (under its name, or with the reason it cannot).

#include "builderprompts.h"
#include "chosenslides.h"
#include "slidelibrary.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;
using quarvel::test::BoundedPrompts;

namespace {

const QString kDoor = QStringLiteral("C:\\S\\door.sld");
const QString kDoorElsewhere = QStringLiteral("D:\\T\\DOOR.sld");
const QString kQuestion =
    QStringLiteral("Slide D:\\T\\DOOR.sld already be in list\r\nAdd this Slide under other name?");
const QString kInvalid =
    QStringLiteral("Name of Slide must not contain following symbols:\r\n        \\ / : * ? \" < > | and Spase");
const QString kTitle = QStringLiteral("New Name of Slide");

// One box of a scripted dialogue: a Yes/No answer to the duplicate question,
// a typed answer (none for Cancel), or the invalid-name message.
struct Box
{
    enum Kind { Question, Typed, Invalid } kind;
    Answer answer = Answer::Ok;
    std::optional<QString> typed = std::nullopt;
};
Box yes() { return {Box::Question, Answer::Yes}; }
Box no() { return {Box::Question, Answer::No}; }
Box typed(std::optional<QString> text) { return {Box::Typed, Answer::Ok, std::move(text)}; }
Box invalid() { return {Box::Invalid}; }

struct Dialogue
{
    const char *what;
    std::vector<Box> boxes;
    QString added;   // the name the new row gets; empty when nothing is added
};

class RenameDialogue : public ::testing::TestWithParam<Dialogue>
{
};

// "door" is listed, with "window"; D:\T\DOOR.sld is added next.
TEST_P(RenameDialogue, EndsAsAnswered)
{
    ChosenSlides list(u'\\');
    BoundedPrompts prompts;
    list.AddSldToList(kDoor, prompts, Language::English);
    list.AddSldToList(QStringLiteral("C:\\S\\window.sld"), prompts, Language::English);
    for (const Box &box : GetParam().boxes) {
        if (box.kind == Box::Question)
            prompts.expectMessage(PromptIcon::Question, kQuestion, box.answer);
        else if (box.kind == Box::Typed)
            prompts.expectInput(QStringLiteral("Enter new Name of Slide"), kTitle, QString(), box.typed);
        else
            prompts.expectMessage(PromptIcon::Critical, kInvalid, Answer::Ok, kTitle);
    }
    const int row = list.AddSldToList(kDoorElsewhere, prompts, Language::English);
    if (GetParam().added.isEmpty()) {
        EXPECT_EQ(row, -1);
        EXPECT_EQ(list.count(), 2);
    } else {
        ASSERT_EQ(row, 2);
        EXPECT_EQ(list.at(2).name, GetParam().added);
        EXPECT_EQ(list.at(2).path, kDoorElsewhere);
    }
}

// The dialogues a user can have, then each forbidden character anywhere in a name.
std::vector<Dialogue> dialogues()
{
    std::vector<Dialogue> all{
        {"no", {no()}, {}},
        {"blank refused", {yes(), typed(u"door 2"_qs), invalid(), typed(u"Door2"_qs)}, u"Door2"_qs},
        {"taken then no", {yes(), typed(u"WINDOW"_qs), no()}, {}},
        {"taken then yes", {yes(), typed(u"DoOr"_qs), yes(), typed(u"door3"_qs)}, u"door3"_qs},
        {"cancel and empty ask again", {yes(), typed(std::nullopt), typed(QString()), typed(u"d_b"_qs)}, u"d_b"_qs}};
    for (const char16_t *bad : {u"a/b", u"a\\b", u"c:", u"*", u"wh?", u"\"q\"", u"<a", u"a>", u"a|b", u" lead"})
        all.push_back({"forbidden", {yes(), typed(QString::fromUtf16(bad)), invalid(), typed(u"ok.2-дверь"_qs)}, u"ok.2-дверь"_qs});
    return all;
}

INSTANTIATE_TEST_SUITE_P(Examples, RenameDialogue, ::testing::ValuesIn(dialogues()), [](const auto &info) {
    return QString::fromLatin1(info.param.what).replace(u' ', u'_').toStdString() + std::to_string(info.index);
});

TEST(ChosenSlides, SlideExistIsOneBasedAndBlindToCase)
{
    ChosenSlides list(u'\\');
    BoundedPrompts prompts;
    for (const char16_t *path : {u"C:\\S\\door.sld", u"C:\\S\\Window.sld", u"C:\\S\\ДВЕРЬ.sld", u"C:\\S\\bolt.sld"})
        list.AddSldToList(QString::fromUtf16(path), prompts, Language::English);
    list.remove(3);
    list.remove(9);
    const std::pair<const char16_t *, int> cases[] = {{u"DOOR", 1}, {u"wINDOW", 2}, {u"дверь", 3},
                                                      {u"bolt", 0}, {u"doo", 0},    {u"", 0}};
    for (const auto &[name, row] : cases)
        EXPECT_EQ(list.SlideExist(QString::fromUtf16(name)), row) << QString::fromUtf16(name).toStdString();
}

TEST(ChosenSlides, RussianDialogue)
{
    ChosenSlides list(u'\\');
    BoundedPrompts prompts;
    const QString title = u"Новое имя Слайда"_qs;
    list.AddSldToList(u"C:\\S\\ДВЕРЬ.sld"_qs, prompts, Language::Russian);
    prompts.expectMessage(
        PromptIcon::Question,
        u"Слайд D:\\Т\\дверь.sld уже есть в списке\r\nДобавить этот слайд под другим именем?"_qs, Answer::Yes);
    prompts.expectInput(u"Введите новое имя Слайда"_qs, title, QString(), u"a b"_qs);
    prompts.expectMessage(PromptIcon::Critical,
                          u"Имя Слайда не должно содержать следующие смволы:\r\n        \\ / : * ? \" < > | и пробелы"_qs,
                          Answer::Ok, title);
    prompts.expectInput(u"Введите новое имя Слайда"_qs, title, QString(), u"дверь2"_qs);
    EXPECT_EQ(list.AddSldToList(u"D:\\Т\\дверь.sld"_qs, prompts, Language::Russian), 1);
}

// ---- A row into a library ------------------------------------------------

TEST(AddChosenSlide, NamesTheFaultThatStopsIt)
{
    QTemporaryDir dir;
    const QString slide = test::writeSlide(dir.path(), QStringLiteral("s.sld"), 3);
    const QString text = dir.filePath(QStringLiteral("text.sld"));
    test::writeFile(text, "not a slide at all");
    const QString n32(32, u'N');
    const struct
    {
        QString name, file;
        std::optional<AddFailureKind> failure;
    } cases[] = {
        {QString(31, u'N'), slide, std::nullopt},
        {QString(16, u'Ж'), slide, std::nullopt},   // 16 bytes in code page 1251
        {n32, slide, AddFailureKind::NameTooLong},
        {QString(32, u'Ж'), slide, AddFailureKind::NameTooLong},
        {u"漢字"_qs, slide, AddFailureKind::Other},   // not in code page 1251
        {u"door"_qs, text, AddFailureKind::NotSlide},
        {n32, text, AddFailureKind::NotSlide},   // the file is the more basic fault
        {u"door"_qs, dir.filePath(QStringLiteral("missing.sld")), AddFailureKind::NotSlide},
    };
    for (const auto &c : cases) {
        SlideLibrary library;
        const std::optional<AddFailure> failure = addChosenSlide(library, {c.name, c.file});
        SCOPED_TRACE((c.name + QStringLiteral(" / ") + c.file).toStdString());
        ASSERT_EQ(failure.has_value(), c.failure.has_value());
        if (failure) {
            EXPECT_EQ(failure->kind, *c.failure);
            EXPECT_EQ(library.slideCount(), 0);
        } else {
            EXPECT_EQ(library.indexOf(c.name), 0);
            EXPECT_EQ(library.slideData(0), test::tinySlide(3));
        }
    }
    const AddFailure tooLong{AddFailureKind::NameTooLong, {}};
    EXPECT_EQ(slideNotAddedMessage(Language::Russian, u"C:\\x.sld"_qs, n32, {}).text,
              u"Файл C:\\x.sld\r\nне является слайдом."_qs);
    EXPECT_EQ(slideNotAddedMessage(Language::Russian, u"C:\\x.sld"_qs, u"LONG"_qs, tooLong).text,
              u"Файл C:\\x.sld\r\nявляется слайдом, но его имя \"LONG\" слишком длинное: библиотека слайдов хранит "
              "имена не длиннее 31 байта."_qs);
}

} // namespace
