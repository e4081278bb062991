#include "browse/frmSoalat.h"

#include "data/Sql.h"

// The general questions, category by category.
frmSoalat::frmSoalat(QWidget* parent)
    : ReviewForm({QStringLiteral("فرم مرور سؤالات"),
                  sql::CategoryList(Collection::General),
                  sql::Questions(Collection::General),
                  sql::CategoryFilterPrefix(Collection::General),
                  {}},
                 parent) {}
