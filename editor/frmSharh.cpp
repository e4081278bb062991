#include "editor/frmSharh.h"

#include "data/Classroom.h"

#include "data/Explanations.h"
#include "data/SharedState.h"
#include "platform/PersianDigits.h"
#include "ui/Look.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>

frmSharh::frmSharh(int questionId, const QString& question, QWidget* parent)
    : QDialog(parent), id_(questionId), stored_(ExplanationOf(ConnectionString(), questionId)) {
    setObjectName(QStringLiteral("frmSharh"));
    setWindowTitle(QStringLiteral("شرح سؤال ") + PersianNumber(questionId));
    setLayoutDirection(Qt::RightToLeft);
    setModal(true);
    look::SetFormBackground(this);

    QLabel* lblSoal = look::MakeLabel(this, QStringLiteral("lblSoal"), question, look::NazaninBold(12));
    lblSoal->setWordWrap(true);
    look::SetTextColour(lblSoal, look::kQuestionBlue);

    txtSharh_ = new QPlainTextEdit(this);
    txtSharh_->setObjectName(QStringLiteral("txtSharh"));
    txtSharh_->setFont(look::Tahoma(9.75));
    txtSharh_->setLayoutDirection(Qt::RightToLeft);
    // Right to left from the first letter, whatever the text starts with (a number, a Latin word).
    QTextOption option = txtSharh_->document()->defaultTextOption();
    option.setTextDirection(Qt::RightToLeft);
    option.setAlignment(look::kAlignRight);
    txtSharh_->document()->setDefaultTextOption(option);
    txtSharh_->setTabChangesFocus(true);
    txtSharh_->setPlainText(stored_);
    connect(txtSharh_, &QPlainTextEdit::textChanged, this, &frmSharh::txtSharh_Change);

    lblHarf_ = look::MakeLabel(this, QStringLiteral("lblHarf"), {}, look::Tahoma(8.25),
                               look::kAlignRight | Qt::AlignVCenter);

    cmdOK_ = new QPushButton(QStringLiteral("تأييد"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    auto* cmdCancel = new QPushButton(QStringLiteral("انصراف"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton* b : {cmdOK_, cmdCancel}) {
        b->setFont(look::TahomaBold(9.75));
        b->setAutoDefault(false);
    }
    connect(cmdOK_, &QPushButton::clicked, this, &frmSharh::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblHarf_, 1);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSoal);
    layout->addWidget(txtSharh_, 1);
    layout->addLayout(buttons);
    resize(560, 280);
    txtSharh_Change();
    txtSharh_->setFocus();
}

bool frmSharh::Edit(int questionId, const QString& question, QWidget* parent) {
    frmSharh dialog(questionId, question, parent);
    ExecModal(&dialog);
    return dialog.saved();
}

QString frmSharh::text() const {
    return txtSharh_->toPlainText();
}

void frmSharh::txtSharh_Change() {
    // No longer than the bank's own explanations may be: a longer text is not taken.
    const int length = static_cast<int>(text().trimmed().size());
    const bool fits = length <= kMaxExplanationLength;
    lblHarf_->setText(PersianNumber(length) + QStringLiteral(" از ") + PersianNumber(kMaxExplanationLength) +
                      QStringLiteral(" حرف"));
    look::SetTextColour(lblHarf_, fits ? QColor(Qt::black) : look::kRed);
    cmdOK_->setEnabled(fits);
}

void frmSharh::cmdOK_Click() {
    if (text().trimmed() == stored_) {
        accept(); // nothing changed: nothing to write
        return;
    }
    BankError why = BankError::None;
    if (!SaveExplanation(ConnectionString(), id_, text(), &why)) {
        MsgBox(this,
               why == BankError::Busy           ? kBankBusyText
               : why == BankError::NotPermitted ? kInstructorOnlyText
                                                : kNotSavedText,
               MsgIcon::Warning, kAppTitle);
        return;
    }
    saved_ = true;
    accept();
}
