#pragma once

#include "browse/ReviewForm.h"

class frmSoalatOLD : public ReviewForm {
    Q_OBJECT
public:
    explicit frmSoalatOLD(QWidget* parent = nullptr);
};
