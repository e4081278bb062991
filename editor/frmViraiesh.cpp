#include "editor/frmViraiesh.h"
#include "editor/frmSharh.h"

#include "card/CardControls.h"
#include "data/BoundSource.h"
#include "data/Classroom.h"
#include "data/SchoolLink.h"
#include "data/SharedState.h"
#include "data/Sql.h"
#include "platform/Vb.h"
#include "rules/QuestionEdit.h"
#include "ui/Layout.h"
#include "ui/Look.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// The editor's layout, in twips: each bound box with its new-text box directly below it.
const ControlPlace kEditorLayout[] = {
    {"lblEntekhab", 10890, 390, 3015, 255},    {"cboNoeSoal", 10920, 690, 3015, 360},
    {"lblDeghat", 4380, 270, 5145, 675},       {"lblTedadeNoeSoal", 4380, 870, 5145, 675},
    {"lblG_Sahih", 11670, 1350, 1185, 360},    {"lblOnvanG_Sahih", 12900, 1350, 1200, 360},
    {"lblShomareSoal", 13770, 1740, 300, 375}, {"lblColonShomare", 13650, 1740, 120, 375},
    {"lblSoorateSoal", 5880, 1740, 7785, 375}, {"txtSoorateSoal", 5910, 2130, 7785, 495},
    {"lblG1", 5880, 2820, 7485, 375},          {"txtG1", 5880, 3210, 7485, 495},
    {"lblG2", 5880, 3840, 7485, 375},          {"txtG2", 5880, 4230, 7485, 495},
    {"lblG3", 5880, 4860, 7485, 375},          {"txtG3", 5880, 5250, 7485, 495},
    {"lblG4", 5880, 5880, 7485, 375},          {"txtG4", 5880, 6270, 7485, 495},
    {"lblNumber1", 13470, 2820, 300, 375},     {"lblNumber2", 13470, 3840, 300, 375},
    {"lblNumber3", 13470, 4860, 300, 375},     {"lblNumber4", 13470, 5880, 300, 375},
    {"lblColon1", 13365, 2820, 105, 375},      {"lblColon2", 13365, 3840, 105, 375},
    {"lblColon3", 13365, 4860, 105, 375},      {"lblColon4", 13365, 5880, 105, 375},
    {"imgShekl", 90, 1725, 5625, 5100},        {"cmdFirst", 7380, 6930, 1215, 585},
    {"cmdPrevious", 8700, 6930, 1155, 585},    {"cmdNext", 9960, 6930, 1215, 585},
    {"cmdEnd", 11280, 6930, 1215, 585},        {"cmdUpdate", 8700, 7590, 2475, 405},
    {"lblTedad", 2010, 7020, 2700, 375},       {"lblColonTedad", 1920, 7020, 90, 375},
    {"lblCount", 960, 7020, 960, 375},         {"cmdViraieshSharh", 11280, 7590, 1500, 405},
};

const char* const kFields[5] = {"SoorateSoal", "G1", "G2", "G3", "G4"};

// The system's button-face colour: the ground of an option box that is not the correct one.
QColor ButtonFace() {
    return QApplication::palette().color(QPalette::Button);
}
} // namespace

frmViraiesh::frmViraiesh(QWidget* parent) : ChildForm(parent) {
    setWindowTitle(QStringLiteral("فرم ويرايش سؤالات"));
    look::SetFormBackground(this);

    c_ = BuildCardControls(this, {.textBoxes = true, .ruleUnderQuestion = false, .chooser = true});
    lblG_Sahih_ = qobject_cast<QLineEdit*>(c_.lblG_Sahih);
    bound_[0] = qobject_cast<QLineEdit*>(c_.lblSoorateSoal);
    for (int k = 1; k <= 4; ++k)
        bound_[k] = qobject_cast<QLineEdit*>(c_.lblG[k - 1]);

    auto* caption = look::MakeLabel(this, QStringLiteral("lblOnvanG_Sahih"), QStringLiteral("گزينه صحيح"),
                                    look::TahomaBold(9.75), look::kAlignRight | Qt::AlignVCenter);
    look::SetTextColour(caption, look::kCorrectGreen);

    QLabel* note =
        look::MakeLabel(this, QStringLiteral("lblDeghat"), QStringLiteral("به هنگام ويرايش دقت داشته باشيد"),
                        look::NazaninBold(18), Qt::AlignCenter);
    look::SetTextColour(note, look::kNoteRed);
    look::SetBackColour(note, look::kTitleYellow);

    for (int k = 0; k < 5; ++k) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txt") + QLatin1String(kFields[k]));
        box->setFont(look::NazaninBold(12));
        box->setAlignment(look::kAlignRight | Qt::AlignVCenter);
        txt_[k] = box;
        connect(box, &QLineEdit::textChanged, this, [this, k] { NewTextChanged(k); });
    }

    cmdUpdate_ = new QPushButton(QStringLiteral("بروز رساني سؤال"), this);
    cmdUpdate_->setObjectName(QStringLiteral("cmdUpdate"));
    cmdUpdate_->setFont(look::TahomaBold(9.75));
    connect(cmdUpdate_, &QPushButton::clicked, this, &frmViraiesh::cmdUpdate_Click);

    auto* cmdViraieshSharh = new QPushButton(QStringLiteral("ويرايش شرح"), this);
    cmdViraieshSharh->setObjectName(QStringLiteral("cmdViraieshSharh"));
    cmdViraieshSharh->setFont(look::TahomaBold(9.75));
    connect(cmdViraieshSharh, &QPushButton::clicked, this, &frmViraiesh::cmdViraieshSharh_Click);

    PlaceLayout(kEditorLayout);
    // Tab goes as an edit goes: the list, the correct option, each new text top to bottom, then
    // the move buttons right to left and the save.
    QWidget* previous = c_.cboNoeSoal;
    QList<QWidget*> chain{lblG_Sahih_};
    for (QLineEdit* box : txt_)
        chain << box;
    chain << c_.cmdEnd << c_.cmdNext << c_.cmdPrevious << c_.cmdFirst << cmdUpdate_;
    for (QWidget* next : chain) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    }

    adoSoalat_ = new BoundSource(this);
    adoSoalat_->setObjectName(QStringLiteral("adoSoalat"));
    adoNoeSoal_ = new BoundSource(this);
    adoNoeSoal_->setObjectName(QStringLiteral("adoNoeSoal"));
    card_ = new QuestionCard(this, c_, adoSoalat_, this);
    // No full question list: the source stays without a record source until a category is chosen.
    card_->SetCategories(adoNoeSoal_, sql::CategoryList(Collection::ExamPool),
                         sql::Questions(Collection::ExamPool),
                         sql::CategoryFilterPrefix(Collection::ExamPool));
    card_->ResetOptionColors();
}

void frmViraiesh::Form_Load() {
    PlaceOnMain(14300, 8560);
    card_->LoadCategories();
    // A learner's login on a school server may read the questions only: told before typing, and
    // the boxes for new texts take none.
    if (!MayEditQuestions(ConnectionString())) {
        for (QLineEdit* box : txt_)
            box->setReadOnly(true);
        lblG_Sahih_->setReadOnly(true);
        MsgBox(this, kInstructorOnlyText, MsgIcon::Information, kAppTitle);
    }
}

void frmViraiesh::paintOption(QuestionCard& /*card*/, int k, bool correct) {
    look::SetBackColour(bound_[k], correct ? look::kCorrectGreen : ButtonFace());
}

void frmViraiesh::correctOptionChanged(QuestionCard& /*card*/) {
    lblG_Sahih_Change();
}

void frmViraiesh::lblG_Sahih_Change() {
    // Without a question on screen there is nothing to check against.
    if (adoSoalat_->isBOF() || adoSoalat_->isEOF())
        return;
    if (!CorrectOptionInRange(lblG_Sahih_->text())) {
        if (restoring_)
            return; // the stored value itself is out of range: leave it, say it once
        {
            // Putting the stored number back is itself a change: it is checked and marked first.
            restoring_ = true;
            lblG_Sahih_->setText(adoSoalat_->text(QStringLiteral("G_Sahih")));
            restoring_ = false;
        }
        MsgBox(this, QStringLiteral("مقدار گزينه صحيح عددي بين 1 تا 4 است"), MsgIcon::None, kAppTitle);
        return;
    }
    card_->MarkCorrectOption();
}

void frmViraiesh::NewTextChanged(int k) {
    const QString typed = txt_[k]->text();
    if (!vb::Trim(typed).isEmpty())
        bound_[k]->setText(typed); // as typed; the save trims
    else
        bound_[k]->setText(adoSoalat_->text(QLatin1String(kFields[k])));
}

void frmViraiesh::ClearNewTexts() {
    for (QLineEdit* box : txt_)
        box->setText(QString());
}

void frmViraiesh::cmdUpdate_Click() {
    Save();
}

void frmViraiesh::beforeButtonMove() {
    refusedBeforeMove_ = !Save();
}

void frmViraiesh::afterKeyMove() {
    // A refused save keeps the typed text for another try, but not onto another question.
    if (refusedBeforeMove_)
        ClearNewTexts();
    refusedBeforeMove_ = false;
}

EditedQuestion frmViraiesh::Edited() const {
    EditedQuestion question;
    question.soorateSoal = bound_[0]->text();
    for (int k = 1; k <= 4; ++k)
        question.options[k - 1] = bound_[k]->text();
    question.correct = lblG_Sahih_->text();
    return question;
}

EditedQuestion frmViraiesh::Stored() const {
    EditedQuestion question;
    question.soorateSoal = adoSoalat_->text(QLatin1String(kFields[0]));
    for (int k = 1; k <= 4; ++k)
        question.options[k - 1] = adoSoalat_->text(QLatin1String(kFields[k]));
    question.correct = adoSoalat_->text(QStringLiteral("G_Sahih"));
    return question;
}

bool frmViraiesh::Save() {
    // Without a question on screen there is nothing to save, and what was typed stays.
    if (adoSoalat_->isBOF() || adoSoalat_->isEOF())
        return true;
    const EditedQuestion question = Edited();
    // A question left as it was is not written: a move over a read-only bank says nothing.
    if (ChangesQuestion(Stored(), question)) {
        if (IsLocalCopy(ConnectionString())) {
            // The local copy of a school server's bank is refreshed from the server: an edit here
            // would be lost, so it waits for the server.
            MsgBox(this, kEditsWaitText, MsgIcon::Warning, kAppTitle);
            return false;
        }
        const double id = vb::Val(c_.lblID->text());
        const SaveOutcome outcome = SaveQuestion(ConnectionString(), id, question);
        switch (outcome) {
        case SaveOutcome::Written:
            KeepSavedInDisplay();
            break;
        case SaveOutcome::NotFound:
            break;
        case SaveOutcome::NotPermitted:
            MsgBox(this, kInstructorOnlyText, MsgIcon::Warning, kAppTitle);
            return false;
        case SaveOutcome::NotWritten:
        case SaveOutcome::Busy:
            // Told once, and the typed text stays in its boxes for another try.
            MsgBox(this, outcome == SaveOutcome::Busy ? kBankBusyText : kNotSavedText, MsgIcon::Warning,
                   kAppTitle);
            return false;
        }
    }
    ClearNewTexts();
    return true;
}

void frmViraiesh::cmdViraieshSharh_Click() {
    if (adoSoalat_->isBOF() || adoSoalat_->isEOF())
        return;
    frmSharh::Edit(static_cast<int>(vb::Val(c_.lblID->text())),
                   adoSoalat_->text(QStringLiteral("SoorateSoal")), this);
}

void frmViraiesh::KeepSavedInDisplay() {
    // The exam's list cannot be written through; its row is given what the bank now holds, so the
    // boxes show the saved text and a save on moving away writes it again, not the old one.
    for (int k = 0; k < 5; ++k)
        adoSoalat_->setValue(QLatin1String(kFields[k]), vb::Trim(bound_[k]->text()));
    if (const auto correct = StorableCorrectOption(lblG_Sahih_->text())) {
        adoSoalat_->setValue(QStringLiteral("G_Sahih"), *correct);
        // The number as stored (" 3" is 3), its option marked.
        lblG_Sahih_->setText(QString::number(*correct));
    }
}
