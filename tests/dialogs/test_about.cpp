// The About box: Russian texts whatever the locale the program runs in, the
// version of the build, and the form of the licence agreement.

#include "frmabout.h"

#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace quarvel;

namespace {

class AboutTexts : public ::testing::TestWithParam<QLocale::Language>
{};

TEST_P(AboutTexts, AreRussianWhateverTheLanguage)
{
    const QLocale before;
    QLocale::setDefault(QLocale(GetParam()));
    FrmAbout box;
    QLocale::setDefault(before);

    EXPECT_EQ(box.windowTitle(), QStringLiteral("О программе Quarvel"));
    const std::pair<const char *, QString> labels[] = {
        {"lblTitle", QStringLiteral("Quarvel")},
        {"lblTitle1", QStringLiteral("для Windows 98")},
        {"lblVersion", QStringLiteral("Версия 2.2")},
        {"lblDescription",
         QStringLiteral("Программа позволяет управлять файлами слайдов и файлами библиотек слайдов AutoCAD.")},
    };
    for (const auto &[name, text] : labels)
        EXPECT_EQ(box.findChild<QLabel *>(QLatin1String(name))->text(), text) << name;
    EXPECT_TRUE(box.findChild<QLabel *>(QStringLiteral("lblTitle"))->font().bold());
    const auto *link = box.findChild<QLabel *>(QStringLiteral("Hyperlink1"));
    EXPECT_TRUE(link->openExternalLinks() && link->text().contains(QStringLiteral("<a href=\"mailto:")));
    EXPECT_EQ(box.findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->toPlainText(),
              FrmAbout::licenceText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    box.show();
    box.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    EXPECT_FALSE(box.isVisible());
}

INSTANTIATE_TEST_SUITE_P(About, AboutTexts, ::testing::Values(QLocale::Russian, QLocale::English),
                         [](const auto &info) { return QLocale::languageToCode(info.param).toStdString(); });

TEST(About, LicenceIsFiveBlocksOfWrappedCrLfLines)
{
    const QString text = FrmAbout::licenceText();
    EXPECT_FALSE(text.endsWith(u'\n'));
    EXPECT_EQ(text.count(u'\r'), text.count(QStringLiteral("\r\n")));
    EXPECT_EQ(text.count(u'\n'), text.count(QStringLiteral("\r\n")));

    const QStringList lines = text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.size(), 29);
    QList<QStringList> blocks{{}};
    for (const QString &line : lines) {
        EXPECT_LE(line.size(), 60) << line.toStdString();
        if (line.isEmpty())
            blocks.append(QStringList());
        else
            blocks.last().append(line);
    }
    ASSERT_EQ(blocks.size(), 5);
    EXPECT_TRUE(blocks[1].join(u' ').contains(QStringLiteral("Quarvel")));
    EXPECT_TRUE(blocks[2].value(0).startsWith(QStringLiteral("Внимание!")));
    EXPECT_TRUE(blocks[3].value(0).startsWith(QStringLiteral("1)  Примечание: ")));
    EXPECT_TRUE(blocks[4].value(0).startsWith(QStringLiteral("2)  Ограничения: ")));
}

} // namespace
