// The chosen-slides list without its window: names unique without regard to
// case, the duplicate question and the rename loop, and how a row goes into
// a library (under its typed name, or with the reason it cannot).

#include "builderprompts.h"
#include "chosenslides.h"
#include "slidelibrary.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quarvel;
using quarvel::test::BoundedPrompts;

namespace {

// "door" and "window" are listed; D:\T\DOOR.sld is added next. Each step
// is the answer to one box: "yes"/"no" to the duplicate question, "=name"
// typed ("cancel" for none), "!" the invalid-name message. Cancel and an
// empty answer ask again; a taken name asks the duplicate question again.
TEST(ChosenSlides, RenameDialogueEndsAsAnswered)
{
    std::vector<std::pair<QStringList, QString>> dialogues{
        {{"no"}, {}},
        {{"yes", "=door 2", "!", "=Door2"}, "Door2"},
        {{"yes", "=WINDOW", "no"}, {}},
        {{"yes", "=DoOr", "yes", "=door3"}, "door3"},
        {{"yes", "cancel", "=", "=d_b"}, "d_b"}};
    for (const char16_t *bad : {u"a/b", u"a\\b", u"c:", u"*", u"wh?", u"\"q\"", u"<a", u"a>", u"a|b", u" lead"})
        dialogues.push_back({{"yes", u"="_qs + QString::fromUtf16(bad), "!", u"=ok.2-дверь"_qs}, u"ok.2-дверь"_qs});
    const QString title = u"New Name of Slide"_qs;
    for (const auto &[steps, added] : dialogues) {
        SCOPED_TRACE(steps.join(u' ').toStdString());
        ChosenSlides list(u'\\');
        BoundedPrompts prompts;
        list.AddSldToList(u"C:\\S\\door.sld"_qs, prompts, Language::English);
        list.AddSldToList(u"C:\\S\\window.sld"_qs, prompts, Language::English);
        for (const QString &step : steps) {
            if (step == u"yes"_qs || step == u"no"_qs)
                prompts.expectMessage(PromptIcon::Question,
                                      u"Slide D:\\T\\DOOR.sld already be in list\r\nAdd this Slide under other name?"_qs,
                                      step == u"yes"_qs ? Answer::Yes : Answer::No);
            else if (step == u"!"_qs)
                prompts.expectMessage(PromptIcon::Critical,
                                      u"Name of Slide must not contain following symbols:\r\n"
                                      "        \\ / : * ? \" < > | and Spase"_qs,
                                      Answer::Ok, BoundedPrompts::Buttons::Plain, title);
            else
                prompts.expectInput(u"Enter new Name of Slide"_qs, title, QString(),
                                    step == u"cancel"_qs ? std::nullopt : std::optional(step.mid(1)));
        }
        const int row = list.AddSldToList(u"D:\\T\\DOOR.sld"_qs, prompts, Language::English);
        EXPECT_EQ(row, added.isEmpty() ? -1 : 2);
        EXPECT_EQ(list.count(), added.isEmpty() ? 2 : 3);
        if (!added.isEmpty()) {
            EXPECT_EQ(list.at(2).name, added);
        }
    }
}

// A library holds names of at most 31 bytes in code page 1251; a file that is
// no slide is the more basic fault and is named first.
TEST(AddChosenSlide, NamesTheFaultThatStopsIt)
{
    QTemporaryDir dir;
    const QString slide = test::writeSlide(dir.path(), u"s.sld"_qs, 3);
    const QString text = dir.filePath(u"text.sld"_qs);
    test::writeFile(text, "not a slide at all");
    const QString n32(32, u'N');
    const struct
    {
        QString name, file;
        std::optional<AddFailureKind> failure;
    } cases[] = {
        {QString(31, u'N'), slide, std::nullopt},
        {QString(16, u'Ж'), slide, std::nullopt},
        {QString(32, u'Ж'), slide, AddFailureKind::NameTooLong},
        {u"漢字"_qs, slide, AddFailureKind::Other},
        {n32, text, AddFailureKind::NotSlide},
    };
    for (const auto &c : cases) {
        SlideLibrary library;
        const std::optional<AddFailure> failure = addChosenSlide(library, {c.name, c.file});
        SCOPED_TRACE((c.name + u" / "_qs + c.file).toStdString());
        ASSERT_EQ(failure.has_value(), c.failure.has_value());
        if (failure) {
            EXPECT_EQ(failure->kind, *c.failure);
            EXPECT_EQ(library.slideCount(), 0);
        } else {
            EXPECT_EQ(library.indexOf(c.name), 0);   // under the typed name
            EXPECT_EQ(library.slideData(0), test::tinySlide(3));
        }
    }
}

} // namespace
