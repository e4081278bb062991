// The floor for exam assembly: the same statements through the raw SQLite C API, in one
// transaction, in a process of the same toolkit; then it exits.
#include "../common/RawBank.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    RawBank bank(RawBankPath());
    return RawAssembleExam(bank) == 30 ? 0 : 1;
}
