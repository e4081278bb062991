#include "progress/frmShagerd.h"

#include "data/Classroom.h"
#include "ui/Look.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("شاگرد");
} // namespace

frmShagerd::frmShagerd(const QString& connectionString, QWidget* parent)
    : QDialog(parent), connection_(connectionString) {
    setObjectName(QStringLiteral("frmShagerd"));
    setWindowTitle(kTitle);
    setLayoutDirection(Qt::RightToLeft);
    setModal(true);
    look::SetFormBackground(this);

    QLabel* lblSoal = look::MakeLabel(this, QStringLiteral("lblSoal"), QStringLiteral("چه كسي تمرين مي كند؟"),
                                      look::TahomaBold(9.75), look::kAlignRight | Qt::AlignVCenter);
    lstShagerdan_ = new QListWidget(this);
    lstShagerdan_->setObjectName(QStringLiteral("lstShagerdan"));
    lstShagerdan_->setFont(look::Tahoma(9.75));
    lstShagerdan_->addItems(ReadLearners(connectionString));
    if (lstShagerdan_->count() > 0)
        lstShagerdan_->setCurrentRow(0);
    // A double click chooses a name as Enter does (Enter reaches the default button from the list).
    connect(lstShagerdan_, &QListWidget::itemDoubleClicked, this, &frmShagerd::cmdOK_Click);

    QLabel* lblJadid = look::MakeLabel(this, QStringLiteral("lblJadid"), QStringLiteral("نام تازه:"),
                                       look::Tahoma(9.75), look::kAlignRight | Qt::AlignVCenter);
    txtNameJadid_ = new QLineEdit(this);
    txtNameJadid_->setObjectName(QStringLiteral("txtNameJadid"));
    txtNameJadid_->setFont(look::Tahoma(9.75));
    txtNameJadid_->setMaxLength(60);
    lblJadid->setBuddy(txtNameJadid_);

    cmdOK_ = new QPushButton(QStringLiteral("تأييد"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setFont(look::TahomaBold(9.75));
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &frmShagerd::cmdOK_Click);

    auto* newRow = new QHBoxLayout;
    newRow->addWidget(lblJadid);
    newRow->addWidget(txtNameJadid_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSoal);
    layout->addWidget(lstShagerdan_, 1);
    layout->addLayout(newRow);
    layout->addWidget(cmdOK_, 0, Qt::AlignLeft);
    resize(300, 320);
    // With no one in the list yet there is only a name to type.
    if (lstShagerdan_->count() > 0)
        lstShagerdan_->setFocus();
    else
        txtNameJadid_->setFocus();
}

QString frmShagerd::Choose(const QString& connectionString, QWidget* parent) {
    frmShagerd dialog(connectionString, parent);
    ExecModal(&dialog);
    return dialog.result() == QDialog::Accepted ? dialog.chosen() : QString();
}

void frmShagerd::cmdOK_Click() {
    const QString typed = txtNameJadid_->text().trimmed();
    if (!typed.isEmpty()) {
        BankError why = BankError::None;
        if (!AddLearner(connection_, typed, &why)) {
            // Told, and the name stays in the box for another try.
            MsgBox(this, BankErrorText(why == BankError::None ? BankError::Corrupt : why), MsgIcon::Warning,
                   kTitle);
            return;
        }
        chosen_ = typed;
    } else if (QListWidgetItem* item = lstShagerdan_->currentItem()) {
        chosen_ = item->text();
    } else {
        txtNameJadid_->setFocus();
        return;
    }
    accept();
}
