#pragma once

// What the builder's tests share: small slide files of our own, and scripted
// prompts that give up on a runaway dialogue. The rename loop ends only on
// the answers a test scripts (Cancel asks again), so a faulty loop would
// otherwise keep asking for ever instead of failing.

#include "scriptedprompts.h"
#include "testdata.h"

#include <QDir>

#include <stdexcept>

namespace quarvel::test {

class BoundedPrompts : public ScriptedPrompts
{
public:
    // Every turn of the loop asks for a name.
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override
    {
        if (++mAsked > 500)
            throw std::runtime_error("the dialogue does not end");
        return ScriptedPrompts::input(prompt, title, defaultText);
    }

private:
    int mAsked = 0;
};

inline QString writeSlide(const QString &folder, const QString &name, int seed = 0)
{
    const QString path = QDir::toNativeSeparators(QDir(folder).filePath(name));
    writeFile(path, tinySlide(seed));
    return path;
}

} // namespace quarvel::test
