#include "info/InfoWindow.h"

#include "data/SharedState.h"
#include "platform/Picture.h"
#include "platform/Twips.h"
#include "ui/Look.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <algorithm>

Q_LOGGING_CATEGORY(lcInfo, "ravex.info", QtCriticalMsg)

namespace {
int PixelsToTwips(int pixels) {
    return pixels * 15;
}
} // namespace

QSize FrameAroundPicture(const QSize& picture) {
    return QSize(Twips(PixelsToTwips(picture.width()) + 100), Twips(PixelsToTwips(picture.height()) + 400));
}

QRect AtTopCentre(const QSize& frame, const QSize& over) {
    return QRect(QPoint(static_cast<int>((over.width() - frame.width()) / 2.0), 0), frame);
}

EnlargedFit FitEnlarged(const QSize& picture, const QSize& area) {
    QSize frame = FrameAroundPicture(picture);
    const bool scaled = area.isValid() && (frame.height() > area.height() || frame.width() > area.width());
    if (scaled)
        frame = QSize(Twips(PixelsToTwips(area.width()) - 1000), Twips(PixelsToTwips(area.height()) - 1500));
    return {AtTopCentre(frame, area), scaled};
}

QCursor ClickCursor() {
    look::EnsureResources();
    return QCursor(ReadPicture(QStringLiteral(":/cursors/hand.png"), "png"), 11, 2); // the fingertip
}

QPixmap LoadDataPicture(const QString& file) {
    const QPixmap picture = LoadPicture(gDataDir + file);
    if (picture.isNull())
        qCWarning(lcInfo) << "no picture in" << gDataDir + file;
    return picture;
}

QSize InfoWindow::FrameOfClient(const QSize& client) const {
    const QMdiSubWindow* frame = subWindow();
    if (!frame)
        return client;
    const QMargins m = frame->contentsMargins();
    return client.grownBy(m);
}

QSize InfoWindow::ClientOfFrame(const QSize& frame) const {
    const QMdiSubWindow* sub = subWindow();
    return sub ? frame.shrunkBy(sub->contentsMargins()) : frame;
}

void InfoWindow::SetFrame(const QRect& frame) {
    QWidget* outer = subWindow() ? static_cast<QWidget*>(subWindow()) : this;
    outer->resize(frame.size());
    if (!subWindow())
        return;
    // A window that fits the area is kept inside it, where its buttons can be reached.
    outer->move(InsideArea(frame.topLeft(), frame.size()));
}

QSize InfoWindow::areaSize() const {
    const QMdiArea* area = subWindow() ? subWindow()->mdiArea() : nullptr;
    return area ? area->viewport()->size() : mainOuterSize();
}

void InfoWindow::CloseWindow() {
    QWidget* outer = subWindow() ? static_cast<QWidget*>(subWindow()) : this;
    outer->close();
}
