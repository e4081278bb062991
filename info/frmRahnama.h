#pragma once

#include "info/InfoWindow.h"

class QPushButton;

// The two help pages, drawn as the window's background, and a button that turns between them.
class frmRahnama : public InfoWindow {
    Q_OBJECT
public:
    explicit frmRahnama(QWidget* parent = nullptr);
    void Form_Load() override;
    void Refit() override;
    const QPixmap& background() const { return background_; }

    bool IsFirstPage = true; // page "519" is shown

protected:
    void paintEvent(QPaintEvent* event) override;

private slots:
    void Command1_Click();
    void cmdClose_Click();

private:
    void Fit(); // the window's factor and its frame for the area
    void SetBackground(const QString& file);

    QPixmap background_;
    QPushButton* command1_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};
