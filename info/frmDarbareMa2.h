#pragma once

#include "info/InfoWindow.h"

class PictureControl;

// One of the about screen's panels, enlarged: at its natural size when the window around it fits
// the main window's MDI area, else scaled into a window a little smaller than that area. A click
// closes it, and closing it brings the about screen back.
class frmDarbareMa2 : public InfoWindow {
    Q_OBJECT
public:
    explicit frmDarbareMa2(QWidget* parent = nullptr);
    void SetPicture(const QPixmap& picture); // the picture to show, fitting the window to it
    void Refit() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Picture1_Change();
    void Picture1_Click();
    void Image1_Click();

private:
    void Form_Unload();

    PictureControl* picture1_ = nullptr;
    PictureControl* image1_ = nullptr;
};
