#include "progress/frmPishraft.h"

#include "data/ExamHistory.h"
#include "data/SharedState.h"
#include "platform/Clock.h"
#include "progress/ProgressGrid.h"
#include "progress/ProgressText.h"
#include "progress/chart/ProgressChart.h"
#include "progress/frmAzmoonGozashte.h"
#include "rules/LeitnerBox.h"
#include "ui/Layout.h"
#include "ui/Look.h"

#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLibrary>
#include <QLoggingCategory>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>

using namespace look;

namespace {
const ControlPlace kLayout[] = {
    {"lblVaziat", 5400, 120, 8750, 420},   {"cmdEshtebahat", 150, 120, 2400, 450},
    {"lblAzmoonha", 6150, 660, 8000, 330}, {"grdAzmoonha", 6150, 1020, 8000, 3900},
    {"lblMozooat", 6150, 5040, 8000, 330}, {"grdMozooat", 6150, 5400, 8000, 2700},
    {"chtDorost", 150, 660, 5850, 7440},   {"cmdMoroorAzmoon", 2700, 120, 2400, 450},
};
// The chance of passing, in the empty part of the categories' caption row.
const ControlPlace kChanceLayout[] = {{"lblShansQabooli", 6150, 5010, 5200, 390}};

QString verdict(bool passed) {
    return passed ? QStringLiteral("قبول") : QStringLiteral("مردود");
}
} // namespace

frmPishraft::frmPishraft(QWidget* parent) : ChildForm(parent) {
    setWindowTitle(QStringLiteral("پیشرفت من"));
    SetFormBackground(this);
    lblVaziat_ =
        MakeLabel(this, QStringLiteral("lblVaziat"), {}, TahomaBold(10), kAlignRight | Qt::AlignVCenter);
    lblVaziat_->setWordWrap(true);
    // At the row's left end, apart from the caption at its right.
    lblShansQabooli_ = MakeLabel(this, QStringLiteral("lblShansQabooli"), {}, TahomaBold(10),
                                 Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    SetTextColour(lblShansQabooli_, kMaroon);
    MakeLabel(this, QStringLiteral("lblAzmoonha"), QStringLiteral("آزمونهاي گذشته"), TahomaBold(10),
              kAlignRight | Qt::AlignVCenter);
    MakeLabel(this, QStringLiteral("lblMozooat"), QStringLiteral("پاسخ درست در هر موضوع"), TahomaBold(10),
              kAlignRight | Qt::AlignVCenter);
    grdAzmoonha_ =
        MakeProgressGrid(this, "grdAzmoonha",
                         {QStringLiteral("تاريخ"), QStringLiteral("ساعت"), QStringLiteral("آزمون"),
                          QStringLiteral("درست"), QStringLiteral("نادرست"), QStringLiteral("حد قبولي"),
                          QStringLiteral("مدت"), QStringLiteral("نتيجه")});
    grdAzmoonha_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grdAzmoonha_->horizontalHeader()->setSectionResizeMode(6, QHeaderView::ResizeToContents);
    // Row numbers: the chart numbers its exams the same way.
    grdAzmoonha_->verticalHeader()->show();
    grdAzmoonha_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(grdAzmoonha_, &QTableWidget::itemSelectionChanged, this,
            &frmPishraft::grdAzmoonha_SelectionChanged);
    // A double-click or Enter on an exam opens it to look through again.
    connect(grdAzmoonha_, &QTableWidget::activated, this, &frmPishraft::cmdMoroorAzmoon_Click);
    grdMozooat_ = MakeCategoryGrid(this);
    // A double-click or Enter on a category goes on to re-drilling what was missed.
    connect(grdMozooat_, &QTableWidget::activated, this, &frmPishraft::cmdEshtebahat_Click);

    LoadChart();

    cmdEshtebahat_ = new QPushButton(QStringLiteral("مرور اشتباهات"), this);
    cmdEshtebahat_->setObjectName(QStringLiteral("cmdEshtebahat"));
    cmdEshtebahat_->setFont(TahomaBold(9));
    connect(cmdEshtebahat_, &QPushButton::clicked, this, &frmPishraft::cmdEshtebahat_Click);
    cmdMoroorAzmoon_ = new QPushButton(QStringLiteral("مرور اين آزمون"), this);
    cmdMoroorAzmoon_->setObjectName(QStringLiteral("cmdMoroorAzmoon"));
    cmdMoroorAzmoon_->setFont(TahomaBold(9));
    cmdMoroorAzmoon_->setEnabled(false);
    connect(cmdMoroorAzmoon_, &QPushButton::clicked, this, &frmPishraft::cmdMoroorAzmoon_Click);
    PlaceLayout(kLayout);
    PlaceLayout(kChanceLayout);
}

Q_LOGGING_CATEGORY(lcProgress, "ravex.progress", QtCriticalMsg)

void frmPishraft::LoadChart() {
    // Beside the program once installed; one folder up from the tests' programs in a build.
    static QLibrary module;
    if (!module.isLoaded()) {
        for (const QString& dir : {QCoreApplication::applicationDirPath(),
                                   QCoreApplication::applicationDirPath() + QStringLiteral("/.."),
                                   QStringLiteral(RAVEX_CHART_MODULE_DIR)}) {
            module.setFileName(QDir(dir).filePath(QStringLiteral("ravex_progresschart")));
            if (module.load())
                break;
        }
    }
    const auto make = reinterpret_cast<MakeProgressChartFn>(module.resolve(kMakeProgressChart));
    fillChart_ = reinterpret_cast<FillProgressChartFn>(module.resolve(kFillProgressChart));
    markChart_ = reinterpret_cast<MarkProgressChartFn>(module.resolve(kMarkProgressChart));
    if (!make || !fillChart_ || !markChart_) {
        qCWarning(lcProgress) << "no chart:" << module.errorString();
        chtDorost_ = MakeLabel(this, QStringLiteral("chtDorost"), QStringLiteral("نمودار در دسترس نيست"),
                               Tahoma(10), Qt::AlignCenter);
        fillChart_ = nullptr;
        markChart_ = nullptr;
        return;
    }
    chtDorost_ = make(this);
    chtDorost_->setObjectName(QStringLiteral("chtDorost"));
}

void frmPishraft::Form_Load() {
    PlaceOnMain(14300, 8625);
    RefreshHistory();
}

int frmPishraft::selectedRow(const QTableWidget* grid) const {
    const QList<QTableWidgetItem*> chosen = grid->selectedItems();
    return chosen.isEmpty() ? -1 : chosen.first()->row();
}

int frmPishraft::selectedExamId() const {
    const int row = selectedRow(grdAzmoonha_);
    return row >= 0 && row < exams_.size() ? exams_[row].examId : 0;
}

void frmPishraft::RefreshHistory() {
    // A new exam comes in at the top: the chosen exam and category are found again by what they
    // are, not by the row they stood on.
    const int examId = selectedExamId();
    const int categoryRow = selectedRow(grdMozooat_);
    const QString category = categoryRow >= 0 ? grdMozooat_->item(categoryRow, 0)->text() : QString();

    exams_ = KeptExams(ConnectionString());
    lblShansQabooli_->setText(
        QStringLiteral("شانس قبولي: %1")
            .arg(ReadinessText(ReadReadiness(ConnectionString(), gPassMark, NowDateTime().date()))));
    const auto kept = std::find_if(exams_.begin(), exams_.end(), [&](auto& e) { return e.examId == examId; });
    const int examRow = examId > 0 && kept != exams_.end() ? int(kept - exams_.begin()) : -1;
    chartData_.marked = examRow;
    {
        const QSignalBlocker quiet(grdAzmoonha_);
        FillExams();
    }
    FillChart();
    // Rows are chosen through the current cell: selectRow looks for its column one pixel past
    // the edge of a right-to-left table and chooses nothing.
    if (examRow >= 0) {
        grdAzmoonha_->setCurrentCell(examRow, 0);
        grdAzmoonha_->scrollToItem(grdAzmoonha_->item(examRow, 0));
    }

    cmdMoroorAzmoon_->setEnabled(selectedExamId() > 0);

    FillCategories();
    const QList<QTableWidgetItem*> same =
        category.isEmpty() ? QList<QTableWidgetItem*>() : grdMozooat_->findItems(category, Qt::MatchExactly);
    for (QTableWidgetItem* item : same) {
        if (item->column() == 0) {
            grdMozooat_->setCurrentCell(item->row(), 0);
            grdMozooat_->scrollToItem(item);
            break;
        }
    }
}

void frmPishraft::grdAzmoonha_SelectionChanged() {
    chartData_.marked = selectedRow(grdAzmoonha_);
    cmdMoroorAzmoon_->setEnabled(chartData_.marked >= 0);
    if (markChart_)
        markChart_(chtDorost_, chartData_.marked);
}

void frmPishraft::FillExams() {
    const QVector<KeptExamRow>& exams = exams_;
    const QString reason = HistoryUnavailableReason(ConnectionString());
    const QString lastFailure = LastKeepFailure();
    if (!reason.isEmpty())
        lblVaziat_->setText(reason);
    else if (!lastFailure.isEmpty())
        lblVaziat_->setText(lastFailure);
    else if (exams.isEmpty())
        lblVaziat_->setText(QStringLiteral("هنوز آزموني تصحيح نشده است."));
    else
        lblVaziat_->setText(QStringLiteral("%1 آزمون، %2 قبول")
                                .arg(PersianNumber(exams.size()),
                                     PersianNumber(std::count_if(exams.begin(), exams.end(),
                                                                 [](auto& e) { return e.passed; }))));
    SetTextColour(lblVaziat_, reason.isEmpty() && lastFailure.isEmpty() ? kQuestionBlue : kRed);

    grdAzmoonha_->clearSelection();
    grdAzmoonha_->setRowCount(int(exams.size()));
    QStringList numbers;
    for (int r = 0; r < exams.size(); ++r) {
        const KeptExamRow& e = exams[r];
        numbers << PersianNumber(r + 1);
        SetProgressCell(grdAzmoonha_, r, 0, JalaliDateText(e.takenAt.date()));
        SetProgressCell(grdAzmoonha_, r, 1, ClockText(e.takenAt.time()));
        SetProgressCell(grdAzmoonha_, r, 2,
                        e.mistakesExam ? QStringLiteral("اشتباهات") : QStringLiteral("اصلي"));
        SetProgressCell(grdAzmoonha_, r, 3, PersianNumber(e.correct), kCorrectGreen);
        SetProgressCell(grdAzmoonha_, r, 4, PersianNumber(e.wrong), kRed);
        SetProgressCell(grdAzmoonha_, r, 5, PersianNumber(e.passMark));
        SetProgressCell(grdAzmoonha_, r, 6, DurationText(e.durationSeconds));
        SetProgressCell(grdAzmoonha_, r, 7, verdict(e.passed), e.passed ? kCorrectGreen : kRed);
    }
    grdAzmoonha_->setVerticalHeaderLabels(numbers);
}

void frmPishraft::FillChart() {
    if (!fillChart_)
        return;
    // The chart numbers its exams as the table's rows, newest first. A Persian reader starts at
    // the right, so exam 1, the newest, stands at the right edge and the eye meets the exams
    // leftwards in the order the table lists them downwards.
    const QVector<KeptExamRow>& exams = exams_;
    ProgressChartData& d = chartData_;
    const int marked = d.marked;
    d = ProgressChartData();
    d.rightToLeft = true;
    d.marked = marked;
    d.pointClicked = [this](int point) {
        grdAzmoonha_->setFocus(Qt::MouseFocusReason);
        grdAzmoonha_->setCurrentCell(point, 0);
        grdAzmoonha_->scrollToItem(grdAzmoonha_->item(point, 0));
    };
    d.scale = scaleFactor();
    d.title = QStringLiteral("پاسخهاي درست در هر آزمون");
    d.titleFont = TahomaBold(10);
    d.legendFont = Tahoma(9);
    d.labelFont = Tahoma(8);
    d.axisTitleFont = Tahoma(9);
    d.correctName = QStringLiteral("پاسخ درست");
    d.correctColour = kQuestionBlue;
    d.passName = QStringLiteral("حد قبولي");
    d.passColour = kRed;
    d.xTitle = QStringLiteral("آزمون");
    int top = kExamSize;
    for (int i = 0; i < exams.size(); ++i) {
        d.correct.append({i + 1, exams[i].correct});
        d.pass.append({i + 1, exams[i].passMark});
        d.tips.append(ExamSummaryText(exams[i]));
        top = std::max({top, exams[i].correct, exams[i].passMark});
    }
    if (exams.size() == 1)
        d.pass.append({2, exams[0].passMark}); // a single exam still shows its mark as a line
    d.xMax = std::max<int>(int(exams.size()), 2);
    const int step = std::max(1, d.xMax / 12);
    for (int i = 1; i <= d.xMax; i += step)
        d.xLabels.append({PersianNumber(i), i});
    d.yMax = top;
    for (int v = 0; v <= top; v += 5)
        d.yLabels.append({PersianNumber(v), v});
    fillChart_(chtDorost_, d);
}

void frmPishraft::Refit() {
    const double before = scaleFactor();
    ChildForm::Refit();
    if (scaleFactor() != before && fillChart_) {
        chartData_.scale = scaleFactor();
        fillChart_(chtDorost_, chartData_);
    }
}

void frmPishraft::FillCategories() {
    FillCategoryGrid(grdMozooat_, CategoryScores(ConnectionString()));
}

void frmPishraft::cmdEshtebahat_Click() {
    emit openRequested(QStringLiteral("frmEshtebahat"));
}

void frmPishraft::cmdMoroorAzmoon_Click() {
    const int examId = selectedExamId();
    if (examId <= 0)
        return;
    emit openRequested(QStringLiteral("frmAzmoonGozashte"));
    // The main window opened it, or brought it forward where it was open already: it is one of
    // this window's neighbours in the area, told which exam to show.
    QMdiArea* area = subWindow() ? subWindow()->mdiArea() : nullptr;
    for (QMdiSubWindow* sub : area ? area->subWindowList() : QList<QMdiSubWindow*>()) {
        if (auto* past = qobject_cast<frmAzmoonGozashte*>(sub->widget())) {
            past->ShowExam(examId);
            return;
        }
    }
    qCWarning(lcProgress) << "no window to show a past exam in";
}
