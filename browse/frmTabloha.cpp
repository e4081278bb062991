#include "browse/frmTabloha.h"

#include "data/Sql.h"

// The traffic-sign and right-of-way questions; the main window's sign buttons pick its
// categories by their list position.
frmTabloha::frmTabloha(QWidget* parent)
    : ReviewForm({QStringLiteral("فرم مرور تابلوها و تقاطعها"),
                  sql::CategoryList(Collection::Signs),
                  sql::Questions(Collection::Signs),
                  sql::CategoryFilterPrefix(Collection::Signs),
                  {
                      {"lblEntekhab", 10980, 390, 2925, 255},    {"lblTedadeNoeSoal", 4500, 600, 5145, 675},
                      {"lblShomareSoal", 13740, 1740, 300, 900}, {"lblColonShomare", 13620, 1740, 120, 900},
                      {"lblSoorateSoal", 5820, 1740, 7800, 900}, {"lblNumber1", 13440, 2820, 300, 900},
                      {"lblNumber2", 13440, 3840, 300, 900},     {"lblNumber3", 13440, 4845, 300, 900},
                      {"lblNumber4", 13440, 5880, 300, 900},     {"lblColon1", 13320, 2820, 120, 900},
                      {"lblColon2", 13320, 3840, 120, 900},      {"lblColon3", 13320, 4845, 120, 900},
                      {"lblColon4", 13320, 5880, 120, 900},      {"lblG1", 5820, 2820, 7500, 900},
                      {"lblG2", 5820, 3840, 7500, 900},          {"lblG3", 5820, 4845, 7500, 900},
                      {"lblG4", 5820, 5880, 7500, 900},          {"Shape1", 5610, 2700, 8625, 30},
                      {"imgShekl", 90, 1740, 5625, 4650},        {"cmdFirst", 7410, 6930, 1215, 585},
                      {"cmdPrevious", 8730, 6930, 1155, 585},    {"cmdNext", 9990, 6930, 1215, 585},
                      {"cmdEnd", 11310, 6930, 1215, 585},
                  }},
                 parent) {}
