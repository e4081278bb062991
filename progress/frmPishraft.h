#pragma once

#include "data/ExamHistory.h"
#include "progress/chart/ProgressChart.h"
#include "ui/ChildForm.h"

#include <QVector>

class QLabel;
class QPushButton;
class QTableWidget;

// "پیشرفت من": the kept exams newest first, a chart of the correct answers of each against its
// pass mark, and how often each category's questions were answered right, weakest first. The
// chosen exam is the same in the table and the chart, and stays chosen as new exams arrive; it
// opens to be looked through again (frmAzmoonGozashte).
class frmPishraft : public ChildForm {
    Q_OBJECT
public:
    explicit frmPishraft(QWidget* parent = nullptr);
    void Form_Load() override;
    void Refit() override;
    void RefreshHistory() override;
    // The ExamID of the exam chosen in the table, 0 when none is.
    int selectedExamId() const;

private slots:
    void cmdEshtebahat_Click();
    void cmdMoroorAzmoon_Click();
    void grdAzmoonha_SelectionChanged();

private:
    void FillExams();
    void LoadChart();
    void FillChart();
    void FillCategories();
    int selectedRow(const QTableWidget* grid) const;

    QLabel* lblVaziat_ = nullptr;       // how many exams, or why none are kept
    QLabel* lblShansQabooli_ = nullptr; // the chance of passing an exam today
    QTableWidget* grdAzmoonha_ = nullptr;
    QTableWidget* grdMozooat_ = nullptr;
    QWidget* chtDorost_ = nullptr; // the chart, or a note where its module is missing
    FillProgressChartFn fillChart_ = nullptr;
    MarkProgressChartFn markChart_ = nullptr;
    ProgressChartData chartData_; // kept: a refit draws it again at the new factor, no query
    QVector<KeptExamRow> exams_;  // as the table lists them, newest first

    QPushButton* cmdEshtebahat_ = nullptr;
    QPushButton* cmdMoroorAzmoon_ = nullptr; // looks through the chosen exam again
};
