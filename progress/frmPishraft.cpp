#include "progress/frmPishraft.h"

#include "data/SharedState.h"
#include "data/ExamHistory.h"
#include "progress/ProgressText.h"
#include "progress/chart/ProgressChart.h"
#include "ui/Layout.h"
#include "ui/Look.h"

#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLibrary>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

using namespace look;

namespace {
const ControlPlace kLayout[] = {
    {"lblVaziat", 5400, 120, 8750, 420},   {"cmdEshtebahat", 150, 120, 2400, 450},
    {"lblAzmoonha", 7350, 660, 6800, 330}, {"grdAzmoonha", 7350, 1020, 6800, 3900},
    {"lblMozooat", 7350, 5040, 6800, 330}, {"grdMozooat", 7350, 5400, 6800, 2700},
    {"chtDorost", 150, 660, 7050, 7440},
};

QTableWidget* makeGrid(QWidget* parent, const char* name, const QStringList& headers) {
    auto* grid = new QTableWidget(0, int(headers.size()), parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setHorizontalHeaderLabels(headers);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid->setFont(Tahoma(9));
    return grid;
}

void setCell(QTableWidget* grid, int row, int column, const QString& text, const QColor& colour = {}) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    if (colour.isValid())
        item->setForeground(colour);
    grid->setItem(row, column, item);
}

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
    MakeLabel(this, QStringLiteral("lblAzmoonha"), QStringLiteral("آزمونهاي گذشته"), TahomaBold(10),
              kAlignRight | Qt::AlignVCenter);
    MakeLabel(this, QStringLiteral("lblMozooat"), QStringLiteral("پاسخ درست در هر موضوع"), TahomaBold(10),
              kAlignRight | Qt::AlignVCenter);
    grdAzmoonha_ = makeGrid(this, "grdAzmoonha",
                            {QStringLiteral("تاريخ"), QStringLiteral("ساعت"), QStringLiteral("آزمون"),
                             QStringLiteral("درست"), QStringLiteral("نادرست"), QStringLiteral("حد قبولي"),
                             QStringLiteral("مدت"), QStringLiteral("نتيجه")});
    grdAzmoonha_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grdMozooat_ = makeGrid(this, "grdMozooat",
                           {QStringLiteral("موضوع"), QStringLiteral("پاسخها"), QStringLiteral("درست"),
                            QStringLiteral("درصد درست")});
    grdMozooat_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    LoadChart();

    cmdEshtebahat_ = new QPushButton(QStringLiteral("مرور اشتباهات"), this);
    cmdEshtebahat_->setObjectName(QStringLiteral("cmdEshtebahat"));
    cmdEshtebahat_->setFont(TahomaBold(9));
    connect(cmdEshtebahat_, &QPushButton::clicked, this, &frmPishraft::cmdEshtebahat_Click);
    PlaceLayout(kLayout);
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
    if (!make || !fillChart_) {
        qCWarning(lcProgress) << "no chart:" << module.errorString();
        chtDorost_ = MakeLabel(this, QStringLiteral("chtDorost"), QStringLiteral("نمودار در دسترس نيست"),
                               Tahoma(10), Qt::AlignCenter);
        fillChart_ = nullptr;
        return;
    }
    chtDorost_ = make(this);
    chtDorost_->setObjectName(QStringLiteral("chtDorost"));
}

void frmPishraft::Form_Load() {
    PlaceOnMain(14300, 8625);
    RefreshHistory();
}

void frmPishraft::RefreshHistory() {
    FillExams();
    FillChart();
    FillCategories();
}

void frmPishraft::FillExams() {
    const QVector<KeptExamRow> exams = KeptExams(ConnectionString());
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

    grdAzmoonha_->setRowCount(int(exams.size()));
    for (int r = 0; r < exams.size(); ++r) {
        const KeptExamRow& e = exams[r];
        setCell(grdAzmoonha_, r, 0, JalaliDateText(e.takenAt.date()));
        setCell(grdAzmoonha_, r, 1,
                PersianNumber(e.takenAt.time().hour()).rightJustified(2, u'۰') + u':' +
                    PersianNumber(e.takenAt.time().minute()).rightJustified(2, u'۰'));
        setCell(grdAzmoonha_, r, 2, e.mistakesExam ? QStringLiteral("اشتباهات") : QStringLiteral("اصلي"));
        setCell(grdAzmoonha_, r, 3, PersianNumber(e.correct), kCorrectGreen);
        setCell(grdAzmoonha_, r, 4, PersianNumber(e.wrong), kRed);
        setCell(grdAzmoonha_, r, 5, PersianNumber(e.passMark));
        setCell(grdAzmoonha_, r, 6, DurationText(e.durationSeconds));
        setCell(grdAzmoonha_, r, 7, verdict(e.passed), e.passed ? kCorrectGreen : kRed);
    }
}

void frmPishraft::FillChart() {
    if (!fillChart_)
        return;
    // Oldest first along the axis; the table above lists them newest first.
    QVector<KeptExamRow> exams = KeptExams(ConnectionString());
    std::reverse(exams.begin(), exams.end());
    ProgressChartData& d = chartData_;
    d = ProgressChartData();
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
    const QVector<CategoryScore> scores = CategoryScores(ConnectionString());
    grdMozooat_->setRowCount(int(scores.size()));
    for (int r = 0; r < scores.size(); ++r) {
        const CategoryScore& s = scores[r];
        const int percent = s.answered > 0 ? (100 * s.right + s.answered / 2) / s.answered : 0;
        setCell(grdMozooat_, r, 0, s.title);
        setCell(grdMozooat_, r, 1, PersianNumber(s.answered));
        setCell(grdMozooat_, r, 2, PersianNumber(s.right));
        setCell(grdMozooat_, r, 3, PersianNumber(percent) + u'٪', percent < 50 ? kRed : QColor());
    }
}

void frmPishraft::cmdEshtebahat_Click() {
    emit openRequested(QStringLiteral("frmEshtebahat"));
}
