#pragma once

// The picture panel that shows a Windows metafile in place of a slide view:
// the picture fills the panel, keeping its shape, on the view's background.

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

namespace quarvel {

class MetafileView : public QWidget
{
    Q_OBJECT

public:
    explicit MetafileView(QWidget *parent = nullptr);

    // Loads and shows a metafile; an empty path clears the panel. Returns
    // false, leaves the panel empty and keeps the reason in lastError() when
    // the file cannot be shown.
    bool setPicture(const QString &path);
    const QString &picture() const { return mPath; }
    const QString &lastError() const { return mError; }

    void setBackColor(QColor color);
    QColor backColor() const { return mBack; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void replay();

    QString mPath;
    QString mError;
    QImage mImage;
    QColor mBack = Qt::black;
};

} // namespace quarvel
