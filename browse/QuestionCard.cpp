#include "browse/QuestionCard.h"

#include "app/mdlRavex.h"
#include "browse/NavButton.h"
#include "browse/PictureBox.h"
#include "data/BoundSource.h"
#include "data/JetSql.h"
#include "platform/Picture.h"
#include "platform/Resources.h"
#include "platform/Vb.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

QFont NazaninBold(double points) {
    QFont font(QStringLiteral("Nazanin"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QFont TahomaBold(double points) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    widget->setPalette(p);
}

namespace {
QLabel* makeLabel(QWidget* form, const QString& name, const QString& text, const QFont& font,
                  Qt::Alignment alignment = kAlignRight | Qt::AlignTop) {
    auto* label = new QLabel(text, form);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(alignment);
    return label;
}
} // namespace

void BuildCardControls(QWidget* form, bool ruleUnderQuestion) {
    EnsureResources();
    const QFont nazanin = NazaninBold(12);
    auto* question = makeLabel(form, QStringLiteral("lblSoorateSoal"), {}, nazanin);
    question->setWordWrap(true);
    SetTextColour(question, kQuestionBlue);
    for (int k = 1; k <= 4; ++k) {
        auto* option = makeLabel(form, QStringLiteral("lblG%1").arg(k), {}, nazanin);
        option->setWordWrap(true);
        SetTextColour(option, Qt::black);
        makeLabel(form, QStringLiteral("lblNumber%1").arg(k), QString::number(k), nazanin);
        makeLabel(form, QStringLiteral("lblColon%1").arg(k), QStringLiteral(":"), nazanin);
    }
    auto* position = makeLabel(form, QStringLiteral("lblShomareSoal"), QStringLiteral("1"), nazanin);
    SetTextColour(position, kQuestionBlue);
    auto* positionColon = makeLabel(form, QStringLiteral("lblColonShomare"), QStringLiteral(":"), nazanin);
    SetTextColour(positionColon, kQuestionBlue);

    auto* title =
        makeLabel(form, QStringLiteral("lblTedadeNoeSoal"), {}, NazaninBold(21.75), Qt::AlignCenter);
    title->setAutoFillBackground(true);
    QPalette yellow = title->palette();
    yellow.setColor(QPalette::Window, kTitleYellow);
    title->setPalette(yellow);

    const QFont tahoma = TahomaBold(9.75);
    // the caption hugs its colon, on its left
    makeLabel(form, QStringLiteral("lblTedad"), QStringLiteral("تعداد سؤالات اين بخش"), tahoma,
              Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    makeLabel(form, QStringLiteral("lblColonTedad"), QStringLiteral(":"), tahoma, Qt::AlignCenter);
    auto* count = makeLabel(form, QStringLiteral("lblCount"), {}, tahoma, Qt::AlignCenter);
    SetTextColour(count, kQuestionBlue);

    for (const char* hidden : {"lblID", "lblG_Sahih", "lblShekl"})
        makeLabel(form, QString::fromLatin1(hidden), {}, nazanin)->hide();

    if (ruleUnderQuestion) {
        auto* rule = new QFrame(form);
        rule->setObjectName(QStringLiteral("Shape1"));
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Plain);
    }

    auto* picture = new PictureBox(form);
    picture->setObjectName(QStringLiteral("imgShekl"));
    picture->hide();

    // "first" stands at the left end of the row and "last" at the right, as the arrow keys go.
    const struct {
        const char* name;
        const char* caption;
        const char* icon;
        bool iconOnLeft;
    } buttons[] = {
        {"cmdFirst", "ابتدا", ":/nav/bar-left.svg", true},
        {"cmdPrevious", "قبلي", ":/nav/left.svg", true},
        {"cmdNext", "بعدي", ":/nav/right.svg", false},
        {"cmdEnd", "انتها", ":/nav/bar-right.svg", false},
    };
    for (const auto& b : buttons) {
        auto* button = new NavButton(QString::fromUtf8(b.caption), QIcon(QString::fromLatin1(b.icon)),
                                     b.iconOnLeft, form);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setFont(tahoma);
    }
}

void BuildCategoryChooser(QWidget* form) {
    const QFont tahoma = TahomaBold(9.75);
    makeLabel(form, QStringLiteral("lblEntekhab"), QStringLiteral("انتخاب موضوع سؤالات"), tahoma,
              kAlignRight);
    auto* combo = new QComboBox(form);
    combo->setObjectName(QStringLiteral("cboNoeSoal"));
    combo->setFont(tahoma);
    combo->setEditable(false); // the user picks an entry, never types one
}

QuestionCard::QuestionCard(QWidget* form, BoundSource* adoSoalat)
    : QuestionCard(form, adoSoalat, Options{}) {}

QuestionCard::QuestionCard(QWidget* form, BoundSource* adoSoalat, Options options)
    : QObject(form), form_(form), adoSoalat_(adoSoalat), options_(std::move(options)) {
    imgShekl_ = form->findChild<PictureBox*>(QStringLiteral("imgShekl"));
    if (!options_.paintOption) {
        options_.paintOption = [this](int k, bool correct) {
            if (QLabel* option = label(QStringLiteral("lblG%1").arg(k).toLatin1().constData()))
                SetTextColour(option, correct ? kCorrectGreen : QColor(Qt::black));
        };
    }
    connect(adoSoalat_, &BoundSource::willMove, this, &QuestionCard::adoSoalat_WillMove);
    connect(adoSoalat_, &BoundSource::moveComplete, this, &QuestionCard::adoSoalat_MoveComplete);
    // The hidden labels first: their change handlers read the option labels' new state only
    // through colours, so the order among the texts does not matter.
    adoSoalat_->bind(QStringLiteral("ID"), label("lblID"));
    adoSoalat_->bind(QStringLiteral("SoorateSoal"),
                     form->findChild<QWidget*>(QStringLiteral("lblSoorateSoal")));
    for (int k = 1; k <= 4; ++k) {
        adoSoalat_->bind(QStringLiteral("G%1").arg(k),
                         form->findChild<QWidget*>(QStringLiteral("lblG%1").arg(k)));
    }
    adoSoalat_->bind(QStringLiteral("G_Sahih"), form->findChild<QWidget*>(QStringLiteral("lblG_Sahih")),
                     [this] { lblG_Sahih_Change(); });
    adoSoalat_->bind(QStringLiteral("Shekl"), label("lblShekl"), [this] { lblShekl_Change(); });

    const struct {
        const char* name;
        int key;
    } moves[] = {{"cmdFirst", kFirst}, {"cmdPrevious", kPrevious}, {"cmdNext", kNext}, {"cmdEnd", kLast}};
    for (const auto& m : moves) {
        if (auto* button = form->findChild<QPushButton*>(QString::fromLatin1(m.name))) {
            const int key = m.key;
            connect(button, &QPushButton::clicked, this, [this, key] { NavigateQuestion(key); });
        }
    }
}

QLabel* QuestionCard::label(const char* name) const {
    return form_->findChild<QLabel*>(QString::fromLatin1(name));
}

int QuestionCard::position() const {
    const QLabel* l = label("lblShomareSoal");
    return l ? static_cast<int>(vb::Val(l->text())) : 0;
}

int QuestionCard::count() const {
    const QLabel* l = label("lblCount");
    return l ? static_cast<int>(vb::Val(l->text())) : 0;
}

void QuestionCard::setPosition(const QString& text) {
    if (QLabel* l = label("lblShomareSoal"))
        l->setText(text);
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
    const QLabel* counter = label("lblShomareSoal");
    const double n = counter ? vb::Val(counter->text()) : 0;
    if (CurID > previous)
        setPosition(QString::number(n + 1));
    else if (CurID < previous)
        setPosition(QString::number(n - 1));
    else if (options_.equalIdRestartsCount)
        setPosition(QStringLiteral("1"));
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
    case kFirst:
        if (n == 1)
            return;
        adoSoalat_->moveFirst();
        setPosition(QStringLiteral("1"));
        break;
    case kLast:
        if (m == n)
            return;
        adoSoalat_->moveLast();
        setPosition(QString::number(m));
        break;
    case kPrevious:
        if (n == 1)
            return;
        adoSoalat_->movePrevious();
        break;
    case kNext:
        if (m == n)
            return;
        adoSoalat_->moveNext();
        break;
    default:
        return;
    }
    if (options_.afterKeyMove)
        options_.afterKeyMove();
}

void QuestionCard::ResetOptionColors() {
    for (int k = 1; k <= 4; ++k)
        options_.paintOption(k, false);
}

void QuestionCard::lblG_Sahih_Change() {
    if (options_.markingAllowed && !options_.markingAllowed())
        return;
    const QString text = BoundText(form_->findChild<QWidget*>(QStringLiteral("lblG_Sahih")));
    for (int k = 1; k <= 4; ++k) {
        if (text == QString::number(k)) {
            ResetOptionColors();
            options_.paintOption(k, true);
            return;
        }
    }
}

void QuestionCard::ShowPicture() {
    if (!imgShekl_)
        return;
    imgShekl_->show();
    if (options_.noPictureNote)
        options_.noPictureNote->hide();
    const QLabel* shekl = label("lblShekl");
    const double number = shekl ? vb::Val(shekl->text()) : 0;
    imgShekl_->setPicture(LoadPicture(gDataDir + QString::number(number)));
    if (number == 0) {
        imgShekl_->hide();
        if (options_.noPictureNote)
            options_.noPictureNote->show();
    }
}

void QuestionCard::SetCategories(BoundSource* adoNoeSoal, QComboBox* cboNoeSoal, const QString& categorySql,
                                 const QString& fullSql, const QString& filterPrefix) {
    adoNoeSoal_ = adoNoeSoal;
    cboNoeSoal_ = cboNoeSoal;
    adoNoeSoal_->setRecordSource(categorySql);
    fullSql_ = fullSql;
    filterPrefix_ = filterPrefix;
    // A pick by the user runs the choice even when it is the entry already shown.
    connect(cboNoeSoal_, &QComboBox::activated, this, [this] { cboNoeSoal_Click(); });
}

void QuestionCard::LoadCategories() {
    if (!adoNoeSoal_ || !cboNoeSoal_)
        return;
    if (!fullSql_.isEmpty()) {
        adoSoalat_->setConnectionString(ConnectionString());
        adoSoalat_->setRecordSource(fullSql_);
        adoSoalat_->refresh();
    }
    adoNoeSoal_->setConnectionString(ConnectionString());
    adoNoeSoal_->refresh();
    {
        const QSignalBlocker quiet(cboNoeSoal_);
        cboNoeSoal_->clear();
        while (!adoNoeSoal_->isEOF()) {
            cboNoeSoal_->addItem(adoNoeSoal_->text(QStringLiteral("Farsi")));
            adoNoeSoal_->moveNext();
        }
    }
    if (!adoNoeSoal_->moveFirst())
        return;
    SelectCategory(cboNoeSoal_->findText(adoNoeSoal_->text(QStringLiteral("Farsi")), Qt::MatchExactly));
}

bool QuestionCard::SelectCategory(int listIndex) {
    if (!cboNoeSoal_ || listIndex < 0 || listIndex >= cboNoeSoal_->count())
        return false;
    {
        const QSignalBlocker quiet(cboNoeSoal_);
        cboNoeSoal_->setCurrentIndex(listIndex);
    }
    cboNoeSoal_Click();
    return true;
}

void QuestionCard::cboNoeSoal_Click() {
    if (!adoNoeSoal_ || !cboNoeSoal_)
        return;
    // The list position is the only link between a title and its code.
    adoNoeSoal_->moveFromFirst(cboNoeSoal_->currentIndex());
    const QString code = vb::Trim(adoNoeSoal_->text(QStringLiteral("NoeSoal")));
    adoSoalat_->setConnectionString(ConnectionString());
    adoSoalat_->setRecordSource(filterPrefix_ + jetsql::QuoteText(code) + QStringLiteral("'"));
    adoSoalat_->refresh();
    ShowPicture();
    if (QLabel* c = label("lblCount"))
        c->setText(QString::number(adoSoalat_->recordCount()));
    if (QLabel* t = label("lblTedadeNoeSoal"))
        t->setText(vb::Trim(cboNoeSoal_->currentText()));
    setPosition(QStringLiteral("1"));
}
