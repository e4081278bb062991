#include "card/SharhPanel.h"

#include "data/BoundSource.h"
#include "data/Connection.h"
#include "data/Explanations.h"
#include "data/SharedState.h"
#include "ui/Look.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>

SharhPanel::SharhPanel(QWidget* form, BoundSource* source) : QObject(form), source_(source) {
    cmdSharh_ = new QPushButton(QStringLiteral("شرح"), form);
    cmdSharh_->setObjectName(QStringLiteral("cmdSharh"));
    cmdSharh_->setFont(look::TahomaBold(9.75));
    cmdSharh_->setToolTip(QStringLiteral("شرح پاسخ درست (F2)"));
    // Pressed in while the explanation is open.
    cmdSharh_->setCheckable(true);
    cmdSharh_->hide();
    connect(cmdSharh_, &QPushButton::clicked, this, &SharhPanel::cmdSharh_Click);

    scrSharh_ = new QScrollArea(form);
    scrSharh_->setObjectName(QStringLiteral("scrSharh"));
    scrSharh_->setFrameShape(QFrame::NoFrame);
    scrSharh_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The label is sized here by its wrapped height: the area would squeeze it to its own height.
    scrSharh_->setWidgetResizable(false);
    scrSharh_->hide();
    lblSharh_ = look::MakeLabel(scrSharh_, QStringLiteral("lblSharh"), {}, look::Tahoma(8.25),
                                look::kAlignRight | Qt::AlignVCenter);
    lblSharh_->setWordWrap(true);
    lblSharh_->setContentsMargins(4, 0, 4, 0);
    lblSharh_->setAccessibleName(QStringLiteral("شرح پاسخ درست"));
    look::SetBackColour(lblSharh_, look::kTitleYellow);
    scrSharh_->setWidget(lblSharh_);
    scrSharh_->installEventFilter(this);
    lblSharh_->installEventFilter(this);

    auto* key = new QShortcut(QKeySequence(kSharhKey), form);
    key->setContext(Qt::WidgetWithChildrenShortcut);
    connect(key, &QShortcut::activated, this, [this] {
        if (cmdSharh_->isVisible())
            cmdSharh_Click();
    });
    connect(source_, &BoundSource::currentRowChanged, this, &SharhPanel::source_CurrentRowChanged);
}

SharhPanel::~SharhPanel() = default;

void SharhPanel::setAllowed(bool allowed) {
    allowed_ = allowed;
    Show();
}

void SharhPanel::cmdSharh_Click() {
    open_ = !open_;
    Show();
}

void SharhPanel::Reread() {
    source_CurrentRowChanged();
}

void SharhPanel::source_CurrentRowChanged() {
    text_.clear();
    if (!source_->isBOF() && !source_->isEOF()) {
        const QString connectionString = ConnectionString();
        if (!connection_ || !connection_->isOpen() || connectionString != connectionString_) {
            connection_ = std::make_unique<Connection>(connectionString);
            connectionString_ = connectionString;
        }
        bool isNumber = false;
        const int id = source_->value(QStringLiteral("ID")).toInt(&isNumber);
        if (isNumber)
            text_ = ExplanationOf(*connection_, id);
    }
    Show();
}

bool SharhPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == scrSharh_ && event->type() == QEvent::Resize) ||
        (watched == lblSharh_ && event->type() == QEvent::FontChange))
        FitLabel();
    return QObject::eventFilter(watched, event);
}

void SharhPanel::FitLabel() {
    const QSize room = scrSharh_->size();
    int width = room.width();
    int height = lblSharh_->heightForWidth(width);
    if (height > room.height()) {
        width -= scrSharh_->verticalScrollBar()->sizeHint().width();
        height = lblSharh_->heightForWidth(width);
    }
    lblSharh_->resize(width, std::max(height, room.height()));
}

void SharhPanel::Show() {
    const bool any = allowed_ && !text_.isEmpty();
    // A text whose first letters are digits or Latin would be laid out left to right; a
    // right-to-left mark in front keeps the Persian order.
    lblSharh_->setText(text_.isEmpty() || text_.isRightToLeft() ? text_ : QChar(0x200F) + text_);
    FitLabel();
    cmdSharh_->setChecked(open_);
    cmdSharh_->setVisible(any);
    scrSharh_->setVisible(any && open_);
    scrSharh_->verticalScrollBar()->setValue(0);
}
