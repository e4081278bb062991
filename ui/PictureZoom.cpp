#include "ui/PictureZoom.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

namespace {
constexpr int kMargin = 16; // pixels of backdrop left round the picture
}

PictureZoom* PictureZoom::Show(QWidget* from, const QPixmap& picture) {
    if (!from || picture.isNull())
        return nullptr;
    return new PictureZoom(from->window(), picture);
}

PictureZoom::PictureZoom(QWidget* over, const QPixmap& picture) : QWidget(over), picture_(picture) {
    setObjectName(QStringLiteral("PictureZoom"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("براي بستن كليك كنيد"));
    previousFocus_ = QApplication::focusWidget();
    setGeometry(over->rect());
    over->installEventFilter(this); // follows the main window's size while open
    show();
    raise();
    setFocus(Qt::PopupFocusReason);
}

QRect PictureZoom::pictureRect() const {
    // Unlike the card's own box, the picture is enlarged to the area as well as shrunk to it.
    const QRect area = rect().marginsRemoved({kMargin, kMargin, kMargin, kMargin});
    const QSize fitted = picture_.size().scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(), fitted);
    target.moveCenter(area.center());
    return target;
}

void PictureZoom::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 170));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect target = pictureRect();
    painter.fillRect(target, Qt::white);
    painter.drawPixmap(target, picture_);
}

void PictureZoom::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    dismiss();
}

void PictureZoom::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        dismiss();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool PictureZoom::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void PictureZoom::dismiss() {
    if (previousFocus_)
        previousFocus_->setFocus(Qt::PopupFocusReason);
    close();
}
