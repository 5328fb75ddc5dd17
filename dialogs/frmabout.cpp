#include "frmabout.h"

#include "prompts.h"
#include "twips.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>
#include <array>

// The build passes the project's version number, so that the box can never
// show another version than the one the program was built as.
#if !defined(QUARVEL_VERSION_MAJOR) || !defined(QUARVEL_VERSION_MINOR)
#error "QUARVEL_VERSION_MAJOR and QUARVEL_VERSION_MINOR must come from the build"
#endif

namespace quarvel {

namespace {

constexpr int kVersionMajor = QUARVEL_VERSION_MAJOR;
constexpr int kVersionMinor = QUARVEL_VERSION_MINOR;

const QString kCredit = QStringLiteral("Автор: команда Quarvel");
// Where users write to; the link shows the address itself.
const QString kContactAddress = QStringLiteral("quarvel@example.org");

// The agreement, hard-wrapped as it is shown, block by block: the request to
// read it, the grant, the warning, the note on warranties and the
// restrictions. Words split across lines carry a hyphen.
using LicenceBlock = QStringList;
const std::array<LicenceBlock, 5> &licenceBlocks()
{
    static const std::array<LicenceBlock, 5> blocks = {
        LicenceBlock{
            QStringLiteral("Прежде чем начать работу с программой, внимательно про-"),
            QStringLiteral("чтите условия этого соглашения. Начиная работу, вы под-"),
            QStringLiteral("тверждаете своё согласие с ними. Если вы не согласны с"),
            QStringLiteral("условиями, не используйте программу."),
        },
        LicenceBlock{
            QStringLiteral("Автор предоставляет вам право использовать программу"),
            QStringLiteral("Quarvel для просмотра, создания и изменения файлов слай-"),
            QStringLiteral("дов и библиотек слайдов AutoCAD на любом числе компьюте-"),
            QStringLiteral("ров, если вы соблюдаете все условия этого соглашения и"),
            QStringLiteral("принимаете их целиком."),
        },
        LicenceBlock{
            QStringLiteral("Внимание! Автор не несёт ответственности за какой бы то"),
            QStringLiteral("ни было ущерб, прямой или косвенный, в том числе за поте-"),
            QStringLiteral("рю данных, упущенную выгоду или перерывы в работе, при-"),
            QStringLiteral("чинённый использованием программы или невозможностью её"),
            QStringLiteral("использования."),
        },
        LicenceBlock{
            QStringLiteral("1)  Примечание: программа предоставляется «как есть», без"),
            QStringLiteral("каких-либо гарантий, явных или подразумеваемых, в том чис-"),
            QStringLiteral("ле гарантий её пригодности для определённой цели и безоши-"),
            QStringLiteral("бочной работы."),
        },
        LicenceBlock{
            QStringLiteral("2)  Ограничения: все права на программу сохраняются за"),
            QStringLiteral("автором. Запрещается исследовать устройство программы"),
            QStringLiteral("путём дизассемблирования, декомпиляции или иным обра-"),
            QStringLiteral("зом, а также изменять её каким-либо способом. Запреща-"),
            QStringLiteral("ется сдавать программу в прокат или аренду, продавать её"),
            QStringLiteral("и основывать на её использовании какое-либо производ-"),
            QStringLiteral("ство."),
        },
    };
    return blocks;
}

const QString kCrLf = QStringLiteral("\r\n");

QLabel *addLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The licence box is wide enough for its longest line, since the lines are
// wrapped already and would otherwise need scrolling sideways.
int licenceBoxWidth(const QPlainTextEdit &box)
{
    int longest = 0;
    for (const LicenceBlock &block : licenceBlocks())
        for (const QString &line : block)
            longest = std::max(longest, box.fontMetrics().horizontalAdvance(line));
    const int margins = 2 * qCeil(box.document()->documentMargin()) + 2 * box.frameWidth();
    const int cursorRoom = 4;
    return longest + margins + box.style()->pixelMetric(QStyle::PM_ScrollBarExtent) + cursorRoom;
}

} // namespace

QString FrmAbout::versionText()
{
    return QStringLiteral("Версия ") + QString::number(kVersionMajor) + u'.'
           + QString::number(kVersionMinor);
}

QString FrmAbout::licenceText()
{
    const auto &blocks = licenceBlocks();
    QString text;
    for (std::size_t i = 0; i + 1 < blocks.size(); ++i) {
        for (const QString &line : blocks[i])
            text += line + kCrLf;
        text += kCrLf;
    }
    return text + blocks.back().join(kCrLf);
}

FrmAbout::FrmAbout(QWidget *parent)
    : QDialog(parent)
{
    const QString title = QString::fromUtf16(kProgramTitle);
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе ") + title);
    setModal(true);

    // The window's own icon falls back to its parent's and then to the
    // program's, so the box shows whatever icon the program runs with.
    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setFixedSize(twipsSize(540, 540));
    icon->setPixmap(windowIcon().pixmap(icon->size()));

    QLabel *titleLabel = addLabel(this, "lblTitle", title);
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);

    QLabel *platform = addLabel(this, "lblTitle1", QStringLiteral("для Windows 98"));
    QLabel *version = addLabel(this, "lblVersion", versionText());
    QLabel *credit = addLabel(this, "lblMe", kCredit);

    auto *link = new QLabel(this);
    link->setObjectName(QStringLiteral("Hyperlink1"));
    link->setTextFormat(Qt::RichText);
    link->setText(QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(kContactAddress));
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    link->setOpenExternalLinks(true);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setMinimumWidth(twipsSize(1380, 345).width());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &FrmAbout::accept);

    QLabel *description = addLabel(
        this, "lblDescription",
        QStringLiteral("Программа позволяет управлять файлами слайдов и файлами библиотек слайдов AutoCAD."));
    description->setWordWrap(true);

    // The double separator: a white line over a grey one.
    auto *separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("Line1"));
    separator->setFixedHeight(2);
    separator->setStyleSheet(QStringLiteral(
        "QFrame#Line1 { border: none; border-top: 1px solid white; border-bottom: 1px solid gray; }"));

    // Qt keeps line breaks as LF; the agreement's CR LF would show the CR.
    auto *licence = new QPlainTextEdit(this);
    licence->setObjectName(QStringLiteral("Text1"));
    licence->setReadOnly(true);
    licence->setLineWrapMode(QPlainTextEdit::NoWrap);
    licence->setPlainText(licenceText().replace(kCrLf, QStringLiteral("\n")));
    licence->setMinimumSize(licenceBoxWidth(*licence), twipsSize(5415, 2055).height());

    // As designed: the icon with OK below it on the left, the program's
    // identity on the right, the contact link indented under the credit.
    auto *head = new QGridLayout;
    head->addWidget(icon, 0, 0, 3, 1, Qt::AlignCenter);
    head->addWidget(ok, 3, 0, 2, 1, Qt::AlignTop);
    head->addWidget(titleLabel, 0, 1);
    head->addWidget(platform, 1, 1);
    head->addWidget(version, 2, 1);
    head->addWidget(credit, 3, 1);
    head->addWidget(link, 4, 1);
    head->setColumnStretch(1, 1);
    head->setHorizontalSpacing(twipsSize(300, 0).width());
    link->setIndent(twipsSize(840, 0).width());

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(description);
    layout->addWidget(separator);
    layout->addWidget(licence, 1);   // the licence takes what the box gains
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void showAbout(QWidget *parent)
{
    FrmAbout box(parent);
    box.exec();
}

} // namespace quarvel
