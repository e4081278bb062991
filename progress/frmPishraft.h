#pragma once

#include "progress/chart/ProgressChart.h"
#include "ui/ChildForm.h"

class QLabel;
class QPushButton;
class QTableWidget;

// "پیشرفت من": the kept exams newest first, a chart of the correct answers of each against its
// pass mark, and how often each category's questions were answered right, weakest first.
class frmPishraft : public ChildForm {
    Q_OBJECT
public:
    explicit frmPishraft(QWidget* parent = nullptr);
    void Form_Load() override;
    void Refit() override;
    void RefreshHistory() override;

private slots:
    void cmdEshtebahat_Click();

private:
    void FillExams();
    void LoadChart();
    void FillChart();
    void FillCategories();

    QLabel* lblVaziat_ = nullptr; // how many exams, or why none are kept
    QTableWidget* grdAzmoonha_ = nullptr;
    QTableWidget* grdMozooat_ = nullptr;
    QWidget* chtDorost_ = nullptr; // the chart, or a note where its module is missing
    FillProgressChartFn fillChart_ = nullptr;
    ProgressChartData chartData_; // kept: a refit draws it again at the new factor, no query

    QPushButton* cmdEshtebahat_ = nullptr;
};
