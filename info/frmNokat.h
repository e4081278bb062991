#pragma once

#include "info/InfoWindow.h"

class PictureControl;

// The tips for the city driving test: one picture, the window sized to it.
class frmNokat : public InfoWindow {
    Q_OBJECT
public:
    explicit frmNokat(QWidget* parent = nullptr);
    void Form_Load() override;
    void Refit() override;

private slots:
    void Picture1_Change();

private:
    PictureControl* picture1_ = nullptr;
};
