#pragma once

#include "data/RowSet.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class Connection;
class QWidget;

// The bound, scrollable question source a window shows: it is given a connection string and an
// SQL text, refreshed, and then moved. Before the current row changes it says willMove(); it then
// puts the new row's values into the widgets bound to its columns, and says moveComplete(). A
// bound widget's change callback runs only when the text it shows really changes.
class BoundSource : public QObject {
    Q_OBJECT
public:
    explicit BoundSource(QObject* parent = nullptr);
    ~BoundSource() override;

    void setConnectionString(const QString& connectionString);
    void setRecordSource(const QString& sql) { recordSource_ = sql; }

    // Runs the record source afresh and stands on its first row. False when the bank or the
    // text fails; the source is then empty (at begin- and end-of-file).
    bool refresh();

    int recordCount() const { return rows_.count(); }
    bool isBOF() const { return rows_.isBOF(); }
    bool isEOF() const { return rows_.isEOF(); }

    bool moveFirst();
    bool moveLast();
    bool moveNext();
    bool movePrevious();
    bool moveFromFirst(int n); // first row, then n rows on

    QVariant value(const QString& column) const { return rows_.value(column); }
    QString text(const QString& column) const; // the value as a bound label shows it
    bool setValue(const QString& column, const QVariant& value) { return rows_.setValue(column, value); }
    bool update(); // writes the current row's changed fields back

    // Shows column in widget (a QLabel, QLineEdit or QTextEdit-like widget with a text property);
    // onChange runs whenever the shown text changes.
    void bind(const QString& column, QWidget* widget, std::function<void()> onChange = {});

signals:
    void willMove();
    void moveComplete();

private:
    bool moveTo(std::optional<int> target);
    void showCurrentRow();
    Connection* connection();

    QString connectionString_;
    QString recordSource_;
    std::unique_ptr<Connection> connection_;
    RowSet rows_;
    struct Binding {
        QString column;
        QPointer<QWidget> widget;
        std::function<void()> onChange;
    };
    QVector<Binding> bindings_;
};

// Shows text in a bound widget and says whether it changed.
bool SetBoundText(QWidget* widget, const QString& text);
QString BoundText(const QWidget* widget);
