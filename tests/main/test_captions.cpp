// Caption tables of both languages and the menus against their exact texts;
// the command states by file and slide count. The window test checks the
// messages it shows itself, so they are not repeated here.

#include "captions.h"
#include "commandstates.h"
#include "errortexts.h"

#include <QHash>
#include <QSet>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cerrno>

using namespace quarvel;

namespace {
constexpr Language En = Language::English;
constexpr Language Ru = Language::Russian;
} // namespace

TEST(Captions, EveryControlHasBothLanguagesAndCaptionsFollowTheChoice)
{
    const QStringList names = captionedControlNames();
    ASSERT_EQ(names.size(), 11);
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const ControlTexts en = controlTexts(name, En, "Use"), ru = controlTexts(name, Ru, "Use");
        EXPECT_FALSE(en.toolTip.isEmpty() || en.toolTip == ru.toolTip);
        EXPECT_EQ(en.caption.isEmpty() + ru.caption.isEmpty(), name.startsWith("cmdFB") ? 0 : 2);
        // Only exactly "Use" shows captions; tooltips stay.
        for (const char *choice : {"NotUse", "use", ""}) {
            const ControlTexts hidden = controlTexts(name, Ru, choice);
            EXPECT_TRUE(hidden.caption.isEmpty()) << choice;
            EXPECT_EQ(hidden.toolTip, ru.toolTip) << choice;
        }
    }
    // Only "Ru" exactly is Russian.
    EXPECT_EQ(languageOf("Ru"), Ru);
    for (const char *other : {"En", "ru", "RU", "", "De"})
        EXPECT_EQ(languageOf(other), En) << other;
}

TEST(Captions, MenusTheirCaptionsShortcutsAndStates)
{
    struct Row { const char *item, *design, *english, *russian; };
    const Row rows[] = {
        {"mnuAESLD", "SLD...", "SLD...", "в &SLD"},
        {"mnuAEDXF", "&DXF...", "DXF...", "в &DXF"},
        {"pmnuESLD", "To &SLD...", "to &SLD", "SLD..."},
        {"mnuTLanguages", "Languages", "Languages", "Язык"},
        // Items neither setter touches keep their design captions.
        {"mnuHelp", "&?", "&?", "&?"},
    };
    QHash<QString, MenuItemDef> items;
    for (const MenuItemDef &item : mainMenuItems()) {
        EXPECT_TRUE(item.parent.isEmpty() || items.contains(item.parent)) << "parent first";
        EXPECT_FALSE(menuCaption(item.name, En).isEmpty() || menuCaption(item.name, Ru).isEmpty());
        items.insert(item.name, item);
    }
    EXPECT_EQ(items.size(), 28);
    for (const Row &r : rows) {
        SCOPED_TRACE(r.item);
        ASSERT_TRUE(items.contains(r.item));
        EXPECT_EQ(items[r.item].designCaption, QString::fromUtf8(r.design));
        EXPECT_EQ(menuCaption(r.item, En), QString::fromUtf8(r.english));
        EXPECT_EQ(menuCaption(r.item, Ru), QString::fromUtf8(r.russian));
    }

    // Add, Delete and Export wait for a library; BMP export, the language
    // submenu and the pop-up root are never on show.
    for (const char *name : {"mnuADdd", "mnuADelete", "mnuAExport"})
        EXPECT_FALSE(items[name].enabled) << name;
    for (const char *name : {"mnuAEBMP", "mnuTLanguages", "pmnuExport", "pmnuEBMP"})
        EXPECT_FALSE(items[name].visible) << name;
}

// The window test walks the usual files; these are the edge cases: letter
// case of the extension, an empty name, a folder with a count.
TEST(CommandStates, ByFileAndSlideCountAndTheMenusCopyTheButtons)
{
    constexpr auto Wmf = ExportFormat::Wmf;
    struct Row { const char *name; qint32 count; CommandStates expected; };
    // save, add, delete, export, to SLD, list, picture
    const Row rows[] = {
        {"", 0, {}},
        {"C:\\Lib\\doors.slb", 1, {true, true, false, true, true, false, {}}},
        {"D:\\X.SLB", 250, {true, true, true, true, true, true, {}}},
        {"C:\\Lib\\door.SlD", 0, {true, false, false, true, false, false, Wmf}},
        {"C:\\Lib\\Folder", 3, {false, false, false, false, false, true, {}}},
    };
    const QList<QPair<const char *, const char *>> copies = {
        {"cmdFBSave", "mnuFSaveAs"}, {"cmdFBAdd", "mnuADdd"}, {"cmdFBDel", "mnuADelete"},
        {"cmdFBExtr", "mnuAExport"}, {"mnuAESLD", "pmnuESLD"}};
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.name << " " << r.count);
        EXPECT_EQ(setButtEnabled(r.name, r.count), r.expected);
        QHash<QString, bool> enabled;
        for (const ControlEnabled &c : controlStates(r.expected))
            enabled.insert(c.name, c.enabled);
        for (const auto &[button, menu] : copies)
            EXPECT_EQ(enabled.value(button), enabled.value(menu)) << menu;
        EXPECT_EQ(enabled.value("List1"), r.expected.slideList);
    }
}

// No English word left in a Russian reason, whatever the system error and
// detail; the window tests check the assembled texts the user sees.
TEST(ErrorTexts, ReasonsAreWordedInTheInterfaceLanguage)
{
    using core::Error;
    using core::Reason;
    const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    for (int r = 0; r <= int(Reason::Other); ++r) {
#ifndef EDQUOT
        constexpr int EDQUOT = ENOSPC; // not in the Windows C library
#endif
        for (const int sys : {EACCES, EPERM, EROFS, EDQUOT, ENOENT, EIO, EFBIG, EBUSY, 0}) {
            // The detail of a name's fault is the character itself, or the
            // name of the slide that already holds it.
            const bool character = Reason(r) == Reason::NameInvalid || Reason(r) == Reason::NameUnrepresentable
                                   || Reason(r) == Reason::NameTaken;
            const Error e = Error("", Reason(r), character ? "ё" : "english detail").withSysError(sys).withNumber(2).withDamage(
                core::Damage(r % (int(core::Damage::FillVertexOutside) + 1)), 7);
            const QString ru = errorReasonText(e, Ru);
            const QString words = QString(ru).remove("AutoCAD").remove(QRegularExpression("0x[0-9A-F]+"));
            EXPECT_FALSE(ru.isEmpty() || words.contains(latin)) << r << " " << ru.toStdString();
            EXPECT_NE(errorReasonText(e, En), ru) << r;
        }
    }
}

// Every message is said once: no run of three words comes back in the same
// text, whatever the reason, the damage and the language, in the windows'
// texts and in the English the command-line tool prints (the core's own).
TEST(ErrorTexts, NoMessageSaysAPhraseTwice)
{
    using core::Damage;
    using core::Reason;
    const auto repeated = [](const QString &text) {
        QStringList words;
        for (const QString &w : text.toLower().split(QRegularExpression(QStringLiteral("[^\\w]+")), Qt::SkipEmptyParts))
            words << w;
        QSet<QString> seen;
        for (qsizetype i = 0; i + 3 <= words.size(); ++i) {
            const QString phrase = words.mid(i, 3).join(u' ');
            if (seen.contains(phrase))
                return phrase;
            seen.insert(phrase);
        }
        return QString();
    };
    const auto check = [&](const QString &text, const char *what) {
        EXPECT_EQ(repeated(text), QString()) << what << ": " << text.toStdString();
    };
    for (int d = 0; d <= int(Damage::FillVertexOutside); ++d) {
        const Damage damage = Damage(d);
        const std::string english = core::damageText(damage, 7);
        for (int r = 0; r <= int(Reason::Other); ++r) {
            for (const char *name : {"", "D1"}) {
                // Throw sites hand over the decoder's English wording as well
                // as the code; the reason must still come once.
                const bool damageReason = Reason(r) == Reason::NotASlide || Reason(r) == Reason::Damaged;
                const core::Error e = core::Error("plan.slb", Reason(r), damageReason ? english : "english detail", 410)
                                          .withName(name).withNumber(2).withDamage(damage, 7);
                check(QString::fromStdString(e.message()), "core");
                for (const Language lang : {En, Ru}) {
                    check(openFailedMessage(lang, "plan.slb", errorReasonText(e, lang)).text, "open failed");
                    check(failureMessage(lang, FailedAction::ChangeLibrary, errorText(e, lang)).text, "failure");
                }
            }
        }
        core::DecodeResult result;
        result.isSlide = damage != Damage::NoSlideHeader;
        result.damage = damage;
        result.errorOffset = 410;
        core::LibraryProblem problem{core::LibraryProblem::Kind::SlideDamaged};
        problem.damage = damage;
        for (const Language lang : {En, Ru}) {
            for (const QString &slide : {QString(), QStringLiteral("D1")})
                check(saveDamagedQuestion(lang, "plan.slb", slideDamageText(slide, result, lang)).text, "damage");
            check(directoryUnreadableText(libraryProblemText(problem, "D1", lang), lang), "directory");
        }
    }
}
