#pragma once

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QRectF>

class QAbstractButton;

// Texts drawn whole: a text wider than its control is drawn in a smaller size of its font until
// it fits, and the control keeps its place and size.

// The largest size of `font`, no larger than it and in steps of a quarter point, at which `text`
// takes at most `width` pixels, its ink as well as its advance; never below one point.
QFont FontToFit(const QFont& font, const QString& text, double width);

// The width a button's text may take: its own less the margins and frame the style keeps.
int ButtonTextRoom(const QAbstractButton* button);
// Shrinks a button's own font until its text fits its text room; a text that fits keeps it.
void FitButtonText(QAbstractButton* button);

// One line of plain text drawn whole: a text wider than the label is drawn smaller until it fits,
// and the ink, the dots and marks above and below the letters included, is kept inside the label's
// box however tall the face's marks reach.
class FitLabel : public QLabel {
    Q_OBJECT
public:
    FitLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
             Qt::Alignment alignment);
    QFont drawnFont() const; // the font the text is drawn with now
    QRectF inkRect() const;  // where the text's ink lands, in the label's pixels

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointF baselineOrigin(const QFont& font) const;
};

// A drop-down list whose chosen entry is drawn whole in its box (smaller where it is wider than
// the box) and whose list opens wide enough for its longest entry, kept inside the window.
class FitComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    QFont shownFont() const; // the font the chosen entry is drawn with in the box
    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int textRoom() const;
};
