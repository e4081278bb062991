#pragma once

#include "browse/ReviewForm.h"

class frmSoalat : public ReviewForm {
    Q_OBJECT
public:
    explicit frmSoalat(QWidget* parent = nullptr);
};
