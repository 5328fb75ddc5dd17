#include "frmstart.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace quarvel {

namespace {

// The window was laid out in twips; at 96 dots per inch a pixel is 15 twips.
constexpr int px(int twips)
{
    return (twips + 7) / 15;
}

// The icon: a slide as AutoCAD shows it, coloured vectors on black.
QPixmap iconPicture()
{
    QPixmap picture(142, 142);
    picture.fill(Qt::black);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawRect(QRectF(0.5, 0.5, 141, 141));
    p.setPen(QPen(Qt::red, 3));
    p.drawRect(QRectF(22, 30, 98, 70));
    p.setPen(QPen(Qt::yellow, 3));
    p.drawLine(QPointF(22, 30), QPointF(71, 8));
    p.drawLine(QPointF(71, 8), QPointF(120, 30));
    p.setPen(QPen(Qt::cyan, 3));
    p.drawRect(QRectF(60, 64, 22, 36));
    p.setPen(QPen(Qt::green, 2));
    p.drawEllipse(QPointF(42, 55), 10, 10);
    p.drawEllipse(QPointF(100, 55), 10, 10);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(10, 120), QPointF(132, 120));
    p.drawLine(QPointF(10, 115), QPointF(10, 125));
    p.drawLine(QPointF(132, 115), QPointF(132, 125));
    return picture;
}

} // namespace

FrmStart::FrmStart(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmStart"));
    setWindowTitle(QStringLiteral("Quarvel"));
    setFixedSize(px(6000), px(3855));

    auto *picture1 = new QFrame(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setFrameShape(QFrame::Panel);
    picture1->setFrameShadow(QFrame::Sunken);
    picture1->setGeometry(px(2700), px(2715), px(2970), px(825));
    picture1->setAutoFillBackground(true);

    auto *version = new QLabel(picture1);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setGeometry(px(60), px(30), px(2775), px(735));
    version->setTextFormat(Qt::PlainText);
    version->setText(QString(versionText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setGeometry(px(420), px(1360), px(2130), px(2130));
    icon->setPixmap(iconPicture());

    if (const QScreen *shown = screen())
        move(shown->availableGeometry().center() - rect().center());
}

QString FrmStart::versionText()
{
    return QStringLiteral("Version 2.2\r\nBy the Quarvel team");
}

void FrmStart::paintEvent(QPaintEvent *)
{
    // The background picture: a dark blue field with a faint drawing grid
    // and the program's name.
    QPainter p(this);
    QLinearGradient field(0, 0, 0, height());
    field.setColorAt(0, QColor(18, 32, 72));
    field.setColorAt(1, QColor(6, 10, 28));
    p.fillRect(rect(), field);
    p.setPen(QPen(QColor(255, 255, 255, 18), 1));
    for (int x = 0; x < width(); x += 16)
        p.drawLine(x, 0, x, height());
    for (int y = 0; y < height(); y += 16)
        p.drawLine(0, y, width(), y);

    p.setRenderHint(QPainter::TextAntialiasing);
    QFont title = font();
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(240, 240, 255));
    const QRect titleBox(px(2700), px(600), width() - px(2700) - px(300), px(900));
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quarvel"));

    QFont subtitle = font();
    subtitle.setPixelSize(13);
    p.setFont(subtitle);
    p.setPen(QColor(170, 190, 230));
    p.drawText(QRect(px(2700), px(1500), titleBox.width(), px(900)),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("AutoCAD slides and slide libraries"));
}

} // namespace quarvel
