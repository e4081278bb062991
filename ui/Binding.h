#pragma once

#include <QObject>
#include <QPointer>
#include <QVector>
#include <functional>

class BoundSource;
class QWidget;

// The controls of a window bound to columns of a source: each shows its column of the current row
// as text (a label or a text box), and its change callback runs only when that text really
// changes, as a bound control's change event does.
class Binder : public QObject {
    Q_OBJECT
public:
    explicit Binder(BoundSource* source);
    void bind(const QString& column, QWidget* widget, std::function<void()> onChange = {});

private:
    void showCurrentRow();

    BoundSource* source_;
    struct Binding {
        QString column;
        QPointer<QWidget> widget;
        std::function<void()> onChange;
    };
    QVector<Binding> bindings_;
};

// The text a label or text box shows, and showing one; SetBoundText says whether it changed.
QString BoundText(const QWidget* widget);
bool SetBoundText(QWidget* widget, const QString& text);
