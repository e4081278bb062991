#include "card/CardControls.h"

#include "ui/FitText.h"
#include "ui/Look.h"
#include "ui/NavButton.h"
#include "ui/PictureBox.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

using namespace look;

namespace {
// A field of the question or an option: a label, or in the editor a read-only text box.
QWidget* makeField(QWidget* form, const QString& name, const CardStyle& style) {
    if (!style.textBoxes) {
        QLabel* label = MakeLabel(form, name, {}, NazaninBold(12));
        label->setWordWrap(true);
        return label;
    }
    auto* box = new QLineEdit(form);
    box->setObjectName(name);
    box->setFont(NazaninBold(12));
    box->setReadOnly(true);
    box->setAlignment(kAlignRight | Qt::AlignVCenter);
    return box;
}
} // namespace

CardControls BuildCardControls(QWidget* form, const CardStyle& style) {
    EnsureResources();
    CardControls c;
    const QFont nazanin = NazaninBold(12);
    const QFont tahoma = TahomaBold(9.75);
    if (style.chooser) {
        MakeLabel(form, QStringLiteral("lblEntekhab"), QStringLiteral("انتخاب موضوع سؤالات"), tahoma,
                  kAlignRight);
        c.cboNoeSoal = new FitComboBox(form);
        c.cboNoeSoal->setObjectName(QStringLiteral("cboNoeSoal"));
        c.cboNoeSoal->setFont(tahoma);
        c.cboNoeSoal->setEditable(false); // the user picks an entry, never types one
    }

    c.lblSoorateSoal = makeField(form, QStringLiteral("lblSoorateSoal"), style);
    SetTextColour(c.lblSoorateSoal, kQuestionBlue);
    for (int k = 1; k <= 4; ++k) {
        c.lblG[k - 1] = makeField(form, QStringLiteral("lblG%1").arg(k), style);
        SetTextColour(c.lblG[k - 1], Qt::black);
        MakeLabel(form, QStringLiteral("lblNumber%1").arg(k), QString::number(k), nazanin);
        MakeLabel(form, QStringLiteral("lblColon%1").arg(k), QStringLiteral(":"), nazanin);
    }
    c.lblShomareSoal = MakeLabel(form, QStringLiteral("lblShomareSoal"), QStringLiteral("1"), nazanin);
    SetTextColour(c.lblShomareSoal, kQuestionBlue);
    SetTextColour(MakeLabel(form, QStringLiteral("lblColonShomare"), QStringLiteral(":"), nazanin),
                  kQuestionBlue);

    // A long category title is drawn smaller, never cut at both ends.
    c.lblTedadeNoeSoal =
        new FitLabel(form, QStringLiteral("lblTedadeNoeSoal"), {}, NazaninBold(21.75), Qt::AlignCenter);
    SetBackColour(c.lblTedadeNoeSoal, kTitleYellow);

    // The caption hugs its colon, on its left.
    c.lblTedad = MakeLabel(form, QStringLiteral("lblTedad"), QStringLiteral("تعداد سؤالات اين بخش"), tahoma,
                           Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    c.lblColonTedad =
        MakeLabel(form, QStringLiteral("lblColonTedad"), QStringLiteral(":"), tahoma, Qt::AlignCenter);
    c.lblCount = MakeLabel(form, QStringLiteral("lblCount"), {}, tahoma, Qt::AlignCenter);
    SetTextColour(c.lblCount, kQuestionBlue);

    c.lblID = MakeLabel(form, QStringLiteral("lblID"), {}, nazanin);
    c.lblShekl = MakeLabel(form, QStringLiteral("lblShekl"), {}, nazanin);
    c.lblID->hide();
    c.lblShekl->hide();
    if (style.textBoxes) {
        auto* box = new QLineEdit(form);
        box->setObjectName(QStringLiteral("lblG_Sahih"));
        box->setFont(nazanin);
        box->setAlignment(Qt::AlignCenter);
        c.lblG_Sahih = box;
    } else {
        c.lblG_Sahih = MakeLabel(form, QStringLiteral("lblG_Sahih"), {}, nazanin);
        c.lblG_Sahih->hide();
    }

    if (style.ruleUnderQuestion) {
        auto* rule = new QFrame(form);
        rule->setObjectName(QStringLiteral("Shape1"));
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Plain);
    }

    c.imgShekl = new PictureBox(form);
    c.imgShekl->setAccessibleName(QStringLiteral("تصوير سؤال"));
    c.imgShekl->setObjectName(QStringLiteral("imgShekl"));
    c.imgShekl->hide();

    // "first" stands at the left end of the row and "last" at the right, as the arrow keys go.
    const auto button = [&](const char* name, const char* caption, const char* icon, bool iconOnLeft) {
        const QIcon picture = style.navPictures ? look::Picture(QString::fromLatin1(icon)) : QIcon();
        auto* b = new NavButton(QString::fromUtf8(caption), picture, iconOnLeft, form);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(tahoma);
        return b;
    };
    c.cmdFirst = button("cmdFirst", "ابتدا", ":/nav/bar-left", true);
    c.cmdPrevious = button("cmdPrevious", "قبلي", ":/nav/left", true);
    c.cmdNext = button("cmdNext", "بعدي", ":/nav/right", false);
    c.cmdEnd = button("cmdEnd", "انتها", ":/nav/bar-right", false);
    // Tab runs right to left, as the window reads: the chooser, then the buttons from "last",
    // which stands rightmost, to "first".
    QWidget* previous = c.cboNoeSoal;
    for (QWidget* next : {static_cast<QWidget*>(c.cmdEnd), static_cast<QWidget*>(c.cmdNext),
                          static_cast<QWidget*>(c.cmdPrevious), static_cast<QWidget*>(c.cmdFirst)}) {
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
    return c;
}
