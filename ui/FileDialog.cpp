#include "ui/FileDialog.h"

#include <QFileDialog>

namespace {
FileDialogHandler& handler() {
    static FileDialogHandler current;
    return current;
}
} // namespace

void SetFileDialogHandler(FileDialogHandler next) {
    handler() = std::move(next);
}

QString QtFileFilter(const QString& classicFilter) {
    const QStringList parts = classicFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        const QString bracketed = u'(' + pattern + u')';
        filters << (description.endsWith(bracketed) ? description : description + u' ' + bracketed);
    }
    return filters.join(QStringLiteral(";;"));
}

QString GetOpenFileName(QWidget* parent, const QString& filter) {
    const QString qtFilter = QtFileFilter(filter);
    if (handler())
        return handler()(parent, qtFilter);
    return QFileDialog::getOpenFileName(parent, QString(), QString(), qtFilter);
}
