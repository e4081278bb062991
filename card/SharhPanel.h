#pragma once

#include <QObject>
#include <QString>
#include <memory>

class BoundSource;
class QEvent;
class Connection;
class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

// The key that shows or hides the explanation in every window that has one.
inline constexpr Qt::Key kSharhKey = Qt::Key_F2;

// The explanation of the question on a card, shown under it when the learner asks: the button
// cmdSharh and the key F2 open and close the strip scrSharh with the label lblSharh in it. A
// question without an explanation shows neither. Once opened it stays open from question to
// question, each showing its own, until it is closed. The window places the button and the strip
// with its layout table; a text longer than the strip scrolls in it.
class SharhPanel : public QObject {
    Q_OBJECT
public:
    SharhPanel(QWidget* form, BoundSource* source);
    ~SharhPanel() override;

    QPushButton* button() const { return cmdSharh_; }
    QLabel* label() const { return lblSharh_; }
    QScrollArea* strip() const { return scrSharh_; }
    bool isOpen() const { return open_; }
    QString explanation() const { return text_; } // the shown question's, empty for none

    // While not allowed, neither control shows and the key does nothing; the choice to open stays
    // for when it is allowed again. The exam allows it only once graded.
    void setAllowed(bool allowed);
    // Reads the shown question's explanation again, after something wrote to the bank.
    void Reread();

public slots:
    void cmdSharh_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void source_CurrentRowChanged();
    void Show();
    // Gives the label the strip's width and the height its text needs there, narrower by the
    // scroll bar where the text is taller than the strip.
    void FitLabel();

    BoundSource* source_;
    QPushButton* cmdSharh_;
    QScrollArea* scrSharh_;
    QLabel* lblSharh_;
    std::unique_ptr<Connection> connection_; // opened at the first question, kept for the next
    QString connectionString_;               // the bank connection_ stands on
    QString text_;
    bool open_ = false;
    bool allowed_ = true;
};
