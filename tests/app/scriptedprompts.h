#pragma once

// Prompts for tests: each message and input box the code under test shows
// must have been announced, in order, with its exact icon, title and text;
// the announced answer is returned. An unannounced or different box fails
// the test (and is answered No or Cancel, the harmless answers), as does an
// announced box that never came. Also what the window and dialog tests,
// which all script their prompts, share besides: small slides and screenshots.

#include "prompts.h"
#include "slidewriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>

namespace quarvel::test {

// A small slide whose drawing depends on seed, so that slides can be told
// apart by their bytes.
inline QByteArray tinySlide(int seed)
{
    SlideWriter w(199, 99);
    w.color(1 + seed % 7);
    w.vector(10, 10 + seed % 80, 180, 90 - seed % 80);
    return w.finish();
}

// Shows w and saves its picture under name in the build folder.
inline void screenshot(QWidget &w, const QString &name)
{
    const QString out = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QDir().mkpath(out);
    w.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.grab().save(out + u'/' + name + QStringLiteral(".png"))) << name.toStdString();
}

class ScriptedPrompts : public Prompts
{
public:
    struct Shown
    {
        bool input = false;
        PromptIcon icon = PromptIcon::Information;   // messages only
        QString title;
        QString text;              // the message, or the input box's prompt
        QString defaultText;       // input boxes only
        bool withCancel = false;   // messages with OK and Cancel
        bool toAll = false;        // questions with Yes to All and No to All
    };

    ~ScriptedPrompts() override
    {
        for (const Expected &left : mExpected)
            ADD_FAILURE() << "announced box never shown: " << describe(left.box);
    }

    // Plain: OK alone, or Yes and No. OkCancel: OK and Cancel, or Yes, No and
    // Cancel. ToAll: Yes, Yes to All, No, No to All and Cancel.
    enum class Buttons { Plain, OkCancel, ToAll };
    void expectMessage(PromptIcon icon, const QString &text, Answer answer = Answer::Ok,
                       Buttons buttons = Buttons::Plain, const QString &title = QString::fromUtf16(kProgramTitle))
    {
        mExpected.push_back({{false, icon, title, text, {}, buttons != Buttons::Plain, buttons == Buttons::ToAll},
                             answer, {}});
    }

    // answer nothing to cancel the box.
    void expectInput(const QString &prompt, const QString &title, const QString &defaultText,
                     std::optional<QString> answer)
    {
        mExpected.push_back({{true, PromptIcon::Information, title, prompt, defaultText}, Answer::Ok, answer});
    }

    Answer message(const MessageSpec &box) override
    {
        if (const auto next = take({false, box.icon, box.title, box.text, {}, box.withCancel, box.toAll}))
            return next->answer;
        return box.withCancel ? Answer::Cancel : box.icon == PromptIcon::Question ? Answer::No : Answer::Ok;
    }

    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override
    {
        const auto next = take({true, PromptIcon::Information, title, prompt, defaultText});
        return next ? next->text : std::nullopt;
    }

    // Names every field that tells two boxes apart (an input box has no icon).
    static std::string describe(const Shown &box)
    {
        static const char *const icons[] = {"critical", "exclamation", "question", "information"};
        const QString kind = box.input ? QStringLiteral("input [default \"%1\"]").arg(box.defaultText)
                                       : QString::fromLatin1(icons[int(box.icon)])
                                             + (box.withCancel ? QStringLiteral(" [OK/Cancel]") : QString())
                                             + (box.toAll ? QStringLiteral(" [to all]") : QString());
        return QStringLiteral("%1 \"%2\": \"%3\"").arg(kind, box.title, box.text).toStdString();
    }

private:
    struct Expected
    {
        Shown box;
        Answer answer = Answer::Ok;
        std::optional<QString> text;
    };

    // Records box; returns the announcement it fulfils, failing the test
    // when there is none.
    std::optional<Expected> take(const Shown &box)
    {
        if (mExpected.empty() || describe(mExpected.front().box) != describe(box)) {
            ADD_FAILURE() << (mExpected.empty() ? "unexpected box: " : "box shown: ") << describe(box)
                          << (mExpected.empty() ? "" : "\n  announced: " + describe(mExpected.front().box));
            return std::nullopt;
        }
        const Expected next = mExpected.front();
        mExpected.pop_front();
        return next;
    }

    std::deque<Expected> mExpected;
};

} // namespace quarvel::test
