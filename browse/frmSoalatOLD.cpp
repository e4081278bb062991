#include "browse/frmSoalatOLD.h"

#include "data/Sql.h"

// The past years' questions, kept for reference; exams never draw them, and the picture area
// says so wherever a question has no picture.
frmSoalatOLD::frmSoalatOLD(QWidget* parent)
    : ReviewForm({QStringLiteral("سؤالات سالهاي قبل براي بايگاني و اطلاعات عمومي -  تذكر: امتحان از اين "
                                 "سؤالات انتخاب نمي شود "),
                  sql::CategoryList(Collection::Old),
                  sql::Questions(Collection::Old),
                  sql::CategoryFilterPrefix(Collection::Old),
                  {
                      {"lblTedadeNoeSoal", 4380, 630, 5145, 675},
                      {"lblShomareSoal", 13770, 1620, 300, 1080},
                      {"lblColonShomare", 13650, 1620, 120, 1080},
                      {"lblG1", 5850, 2820, 7500, 1080},
                      {"lblG2", 5850, 3840, 7500, 1080},
                      {"lblG3", 5850, 4845, 7500, 1080},
                      {"lblG4", 5850, 5880, 7500, 1080},
                      {"imgShekl", 120, 1740, 5625, 4650},
                      {"lblTazakor", 330, 3660, 4965, 1935},
                      {"cmdFirst", 7410, 6930, 1215, 585},
                      {"cmdPrevious", 8730, 6930, 1155, 585},
                      {"cmdNext", 9990, 6930, 1215, 585},
                      {"cmdEnd", 11310, 6930, 1215, 585},
                  },
                  true},
                 parent) {}
