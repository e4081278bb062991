#include "platform/SystemDir.h"

#include <QDir>
#include <QStandardPaths>

namespace {
std::function<QString()>& provider() {
    static std::function<QString()> current = [] {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    };
    return current;
}
} // namespace

void SetSystemDirectoryProvider(std::function<QString()> next) {
    provider() = std::move(next);
}

unsigned GetSystemDirectoryA(QString& buffer, unsigned size) {
    QString path = provider() ? provider()() : QString();
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    if (path.isEmpty())
        return 0;
    const auto length = static_cast<unsigned>(path.size());
    if (length + 1 > size || length + 1 > static_cast<unsigned>(buffer.size()))
        return length + 1;
    buffer.replace(0, length + 1, path + QChar(u'\0'));
    return length;
}
