#pragma once

#include <QPixmap>
#include <QWidget>

// A question's picture, shown whole: scaled down to fit with its shape kept and centred, never
// stretched. An empty pixmap shows nothing.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setPicture(const QPixmap& picture);
    // The picture in a file, decoded only when it is first drawn or asked for: one replaced or
    // hidden before then is never decoded.
    void setPictureFile(const QString& path);
    const QPixmap& picture() const;
    QRect pictureRect() const; // where the picture is drawn

signals:
    // A left click on the picture itself (the card windows then show it enlarged).
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    mutable QPixmap picture_;
    mutable QString file_; // still to be decoded into picture_
};
