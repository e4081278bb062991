#include "ui/Modal.h"

#include <QDialog>

namespace {
std::function<int(QDialog*)>& handler() {
    static std::function<int(QDialog*)> current;
    return current;
}
} // namespace

void SetModalHandler(std::function<int(QDialog*)> next) {
    handler() = std::move(next);
}

int ExecModal(QDialog* dialog) {
    return handler() ? handler()(dialog) : dialog->exec();
}
