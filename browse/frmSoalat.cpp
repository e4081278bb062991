#include "browse/frmSoalat.h"

// The general questions, category by category.
frmSoalat::frmSoalat(QWidget* parent)
    : ReviewForm(
          {QStringLiteral("فرم مرور سؤالات"),
           QStringLiteral("Select qryNoeSoal.NoeSoal,tblNoeSoal.Farsi from qryNoeSoal,tblNoeSoal Where "
                          "tblNoeSoal.NoeSoal = qryNoeSoal.NoeSoal"),
           QStringLiteral("Select * from qrySoalat"),
           QStringLiteral("Select * from qrySoalat Where NoeSoal ='"),
           {}},
          parent) {}
