#pragma once

#include "info/InfoWindow.h"

class PictureControl;
class QPushButton;

// The about screen: a top band, three panels that enlarge when clicked, a bottom band and a back
// button, every picture from the data folder.
class frmDarbareMa : public InfoWindow {
    Q_OBJECT
public:
    explicit frmDarbareMa(QWidget* parent = nullptr);
    void Form_Load() override;
    void Refit() override;

private slots:
    void Image3_Click();
    void Image4_Click();
    void Image5_Click();
    void cmdBazgasht_Click();

private:
    void Fit(); // the window's factor, its pictures' zoom and its frame for the area
    void Enlarge(const PictureControl* image);

    PictureControl* picture1_ = nullptr;
    PictureControl* image3_ = nullptr;
    PictureControl* image4_ = nullptr;
    PictureControl* image5_ = nullptr;
    PictureControl* picture3_ = nullptr;
    QPushButton* cmdBazgasht_ = nullptr;
};
