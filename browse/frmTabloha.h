#pragma once

#include "browse/ReviewForm.h"

class frmTabloha : public ReviewForm {
    Q_OBJECT
public:
    explicit frmTabloha(QWidget* parent = nullptr);
};
