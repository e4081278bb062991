#pragma once

#include "rules/ClassReport.h"
#include "ui/ChildForm.h"

class QLabel;
class QTableWidget;

// "گزارش مربي": every learner of a school server with their exams, last score, chance of passing
// and weakest categories, and the questions the class misses most. On a bank in a file it says
// that the report is for a school server, and shows nothing else.
class frmGozareshMorabi : public ChildForm {
    Q_OBJECT
public:
    explicit frmGozareshMorabi(QWidget* parent = nullptr);
    void Form_Load() override;
    void RefreshHistory() override { ReadReport(); }

    const ClassReport& report() const { return report_; }

private:
    void ReadReport();

    ClassReport report_;
    QLabel* lblVaziat_ = nullptr;
    QTableWidget* grdShagerdan_ = nullptr;
    QTableWidget* grdEshtebahat_ = nullptr;
};
