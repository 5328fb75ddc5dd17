#pragma once

// What the dialog tests share: a scratch folder with its own settings file,
// the shared state and scripted prompts, slide files made on the spot, and
// controls found by name.

#include "appstate.h"
#include "inifile.h"
#include "scriptedprompts.h"
#include "slidelibrary.h"
#include "testdata.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

namespace quarvel::test {

template <class T = QAbstractButton>
T *control(const QWidget &dialog, const char *name)
{
    T *found = dialog.findChild<T *>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline void click(const QWidget &dialog, const char *button) { control(dialog, button)->click(); }

class DialogTest : public ::testing::Test
{
protected:
    DialogTest()
    {
        mState.SettingsFile = path(u"Quarvel.ini"_qs);
        mState.LanguageCode = u"En"_qs;
    }

    QString path(const QString &relative) const
    {
        return QDir::toNativeSeparators(QDir(mDir.path()).filePath(relative));
    }
    QString makeFolder(const QString &relative) const
    {
        QDir().mkpath(path(relative));
        return path(relative);
    }
    QString makeFile(const QString &relative, const QByteArray &bytes) const
    {
        writeFile(path(relative), bytes);
        return path(relative);
    }
    QString makeSlide(const QString &relative) const { return makeFile(relative, tinySlide(0)); }
    QString makeLibrary(const QString &relative, const QStringList &slides) const
    {
        SlideLibrary library;
        for (const QString &name : slides)
            library.addSlideFile(makeSlide(u"slide.sld"_qs), name);
        library.saveLibrary(path(relative));
        return path(relative);
    }
    QString ini(const QString &section, int key) const
    {
        return ReadIniString(mState.SettingsFile, section, QString::number(key));
    }
    void setIni(const QString &section, int key, const QString &value) const
    {
        ASSERT_TRUE(WriteIniString(mState.SettingsFile, section, QString::number(key), value));
    }

    QTemporaryDir mDir;
    AppState mState;
    ScriptedPrompts mPrompts;
};

} // namespace quarvel::test
