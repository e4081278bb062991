#include "card/QuestionCard.h"

#include "data/BoundSource.h"
#include "data/JetSql.h"
#include "data/SharedState.h"
#include "platform/Keys.h"
#include "platform/Vb.h"
#include "ui/Binding.h"
#include "ui/Look.h"
#include "ui/MessageBox.h"
#include "ui/PictureBox.h"
#include "ui/PictureZoom.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>

void CardHooks::correctOptionChanged(QuestionCard& card) {
    card.MarkCorrectOption();
}

void CardHooks::paintOption(QuestionCard& card, int k, bool correct) {
    if (QWidget* option = card.controls().lblG[k - 1])
        look::SetTextColour(option, correct ? look::kCorrectGreen : QColor(Qt::black));
}

namespace {
CardHooks& plainHooks() {
    static CardHooks hooks;
    return hooks;
}
} // namespace

QuestionCard::QuestionCard(QWidget* form, const CardControls& controls, BoundSource* adoSoalat,
                           CardHooks* hooks)
    : QObject(form), c_(controls), adoSoalat_(adoSoalat), binder_(new Binder(adoSoalat)),
      hooks_(hooks ? hooks : &plainHooks()) {
    connect(adoSoalat_, &BoundSource::willMove, this, &QuestionCard::adoSoalat_WillMove);
    connect(adoSoalat_, &BoundSource::moveComplete, this, &QuestionCard::adoSoalat_MoveComplete);
    binder_->bind(QStringLiteral("ID"), c_.lblID);
    binder_->bind(QStringLiteral("SoorateSoal"), c_.lblSoorateSoal);
    for (int k = 1; k <= 4; ++k)
        binder_->bind(QStringLiteral("G%1").arg(k), c_.lblG[k - 1]);
    if (auto* box = qobject_cast<QLineEdit*>(c_.lblG_Sahih)) {
        // A box the user types in changes by typing as well as by moving.
        binder_->bind(QStringLiteral("G_Sahih"), box);
        connect(box, &QLineEdit::textChanged, this, &QuestionCard::lblG_Sahih_Change);
    } else {
        binder_->bind(QStringLiteral("G_Sahih"), c_.lblG_Sahih, [this] { lblG_Sahih_Change(); });
    }
    binder_->bind(QStringLiteral("Shekl"), c_.lblShekl, [this] { lblShekl_Change(); });

    // Every card window enlarges its picture on a click.
    connect(c_.imgShekl, &PictureBox::clicked, this,
            [this] { PictureZoom::Show(c_.imgShekl, c_.imgShekl->picture()); });
    connect(c_.cmdFirst, &QPushButton::clicked, this, &QuestionCard::cmdFirst_Click);
    connect(c_.cmdPrevious, &QPushButton::clicked, this, &QuestionCard::cmdPrevious_Click);
    connect(c_.cmdNext, &QPushButton::clicked, this, &QuestionCard::cmdNext_Click);
    connect(c_.cmdEnd, &QPushButton::clicked, this, &QuestionCard::cmdEnd_Click);
}

void QuestionCard::cmdFirst_Click() {
    hooks_->beforeButtonMove();
    NavigateQuestion(keycode::kPageUp);
}
void QuestionCard::cmdPrevious_Click() {
    hooks_->beforeButtonMove();
    NavigateQuestion(keycode::kLeft);
}
void QuestionCard::cmdNext_Click() {
    hooks_->beforeButtonMove();
    NavigateQuestion(keycode::kRight);
}
void QuestionCard::cmdEnd_Click() {
    hooks_->beforeButtonMove();
    NavigateQuestion(keycode::kPageDown);
}

int QuestionCard::position() const {
    return static_cast<int>(vb::Val(c_.lblShomareSoal->text()));
}

int QuestionCard::count() const {
    return static_cast<int>(vb::Val(c_.lblCount->text()));
}

void QuestionCard::setPosition(const QString& text) {
    c_.lblShomareSoal->setText(text);
}

QString QuestionCard::correctOptionText() const {
    return BoundText(c_.lblG_Sahih);
}

void QuestionCard::adoSoalat_WillMove() {
    if (!adoSoalat_->isBOF() && !adoSoalat_->isEOF())
        PrevID = adoSoalat_->value(QStringLiteral("ID"));
}

void QuestionCard::adoSoalat_MoveComplete() {
    if (adoSoalat_->isBOF() || adoSoalat_->isEOF())
        return;
    CurID = static_cast<qint16>(adoSoalat_->value(QStringLiteral("ID")).toInt());
    const int previous = PrevID.isValid() ? PrevID.toInt() : 0;
    const double n = vb::Val(c_.lblShomareSoal->text());
    if (CurID > previous)
        setPosition(QString::number(n + 1));
    else if (CurID < previous)
        setPosition(QString::number(n - 1));
    else if (hooks_->equalIdRestartsCount())
        setPosition(QStringLiteral("1"));
}

void QuestionCard::AddMoveShortcuts() {
    for (const int key : {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Right}) {
        auto* shortcut = new QShortcut(QKeySequence(key), static_cast<QWidget*>(parent())); // the window
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this, key] { NavigateQuestion(keycode::FromQtKey(key)); });
    }
}

void QuestionCard::NavigateTo(int n) {
    if (adoSoalat_->isBOF() || adoSoalat_->isEOF() || n < 1 || n > count() || n == position())
        return;
    adoSoalat_->moveFromFirst(n - 1);
    setPosition(QString::number(n));
    hooks_->afterKeyMove();
}

void QuestionCard::NavigateQuestion(int keyCode) {
    if (adoSoalat_->isBOF() || adoSoalat_->isEOF()) {
        // Not acted on: the cursor is only brought back onto a row.
        if (adoSoalat_->isEOF())
            adoSoalat_->movePrevious();
        if (adoSoalat_->isBOF())
            adoSoalat_->moveNext();
        return;
    }
    const int n = position();
    const int m = count();
    switch (keyCode) {
    case keycode::kPageUp:
        if (n == 1)
            return;
        adoSoalat_->moveFirst();
        setPosition(QStringLiteral("1"));
        break;
    case keycode::kPageDown:
        if (m == n)
            return;
        adoSoalat_->moveLast();
        setPosition(QString::number(m));
        break;
    case keycode::kLeft:
        if (n == 1)
            return;
        adoSoalat_->movePrevious();
        break;
    case keycode::kRight:
        if (m == n)
            return;
        adoSoalat_->moveNext();
        break;
    default:
        return;
    }
    hooks_->afterKeyMove();
}

void QuestionCard::ResetOptionColors() {
    for (int k = 1; k <= 4; ++k)
        hooks_->paintOption(*this, k, false);
}

void QuestionCard::MarkCorrectOption() {
    const QString text = correctOptionText();
    for (int k = 1; k <= 4; ++k) {
        if (text == QString::number(k)) {
            ResetOptionColors();
            hooks_->paintOption(*this, k, true);
            return;
        }
    }
}

void QuestionCard::lblG_Sahih_Change() {
    hooks_->correctOptionChanged(*this);
}

void QuestionCard::ShowPicture() {
    PictureBox* picture = c_.imgShekl;
    picture->show();
    const double number = vb::Val(c_.lblShekl->text());
    // The file named 0 is the main window's background, never a question's picture. The file is
    // decoded when the box is drawn, so the rows a move only passes over cost no decoding.
    if (number == 0) {
        picture->setPicture(QPixmap());
        picture->hide();
    } else {
        picture->setPictureFile(gDataDir + QString::number(number));
    }
    hooks_->pictureShown(number != 0);
}

void QuestionCard::SetCategories(BoundSource* adoNoeSoal, const QString& categorySql, const QString& fullSql,
                                 const QString& filterPrefix) {
    adoNoeSoal_ = adoNoeSoal;
    adoNoeSoal_->setRecordSource(categorySql);
    fullSql_ = fullSql;
    filterPrefix_ = filterPrefix;
    // A pick by the user runs the choice even when it is the entry already shown.
    connect(c_.cboNoeSoal, &QComboBox::activated, this, &QuestionCard::cboNoeSoal_Click);
}

void QuestionCard::LoadCategories() {
    if (!adoNoeSoal_ || !c_.cboNoeSoal)
        return;
    adoNoeSoal_->setConnectionString(ConnectionString());
    adoNoeSoal_->refresh();
    // The rows are read when first looked at: look, then ask whether the bank let them be read.
    adoNoeSoal_->isEOF();
    if (SaidBankBusy(adoNoeSoal_))
        return;
    {
        const QSignalBlocker quiet(c_.cboNoeSoal);
        c_.cboNoeSoal->clear();
        while (!adoNoeSoal_->isEOF()) {
            c_.cboNoeSoal->addItem(adoNoeSoal_->text(QStringLiteral("Farsi")));
            adoNoeSoal_->moveNext();
        }
    }
    if (!adoNoeSoal_->moveFirst()) {
        // No category to show: the card stands on the whole collection instead. Where there is
        // one, the whole collection would only be replaced by it at once, so it is never loaded.
        if (!fullSql_.isEmpty()) {
            adoSoalat_->setConnectionString(ConnectionString());
            adoSoalat_->setRecordSource(fullSql_);
            adoSoalat_->refresh();
        }
        return;
    }
    SelectCategory(c_.cboNoeSoal->findText(adoNoeSoal_->text(QStringLiteral("Farsi")), Qt::MatchExactly));
}

bool QuestionCard::SelectCategory(int listIndex) {
    if (!c_.cboNoeSoal || listIndex < 0 || listIndex >= c_.cboNoeSoal->count())
        return false;
    {
        const QSignalBlocker quiet(c_.cboNoeSoal);
        c_.cboNoeSoal->setCurrentIndex(listIndex);
    }
    cboNoeSoal_Click();
    return true;
}

void QuestionCard::cboNoeSoal_Click() {
    if (!adoNoeSoal_ || !c_.cboNoeSoal)
        return;
    // The list position is the only link between a title and its code.
    adoNoeSoal_->moveFromFirst(c_.cboNoeSoal->currentIndex());
    const QString code = vb::Trim(adoNoeSoal_->text(QStringLiteral("NoeSoal")));
    adoSoalat_->setConnectionString(ConnectionString());
    adoSoalat_->setRecordSource(filterPrefix_ + jetsql::QuoteText(code) + QStringLiteral("'"));
    adoSoalat_->refresh();
    ShowPicture();
    c_.lblCount->setText(QString::number(adoSoalat_->recordCount()));
    SaidBankBusy(adoSoalat_);
    c_.lblTedadeNoeSoal->setText(vb::Trim(c_.cboNoeSoal->currentText()));
    setPosition(QStringLiteral("1"));
}

bool QuestionCard::SaidBankBusy(BoundSource* source) {
    // The list stays empty; the user is told why, once for the action that found it.
    if (source->error() != BankError::Busy)
        return false;
    MsgBox(qobject_cast<QWidget*>(parent()), kBankBusyText, MsgIcon::Warning, kAppTitle);
    return true;
}
