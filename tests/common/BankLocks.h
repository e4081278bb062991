#pragma once

#include <QString>

// Another program holding the bank: a second connection with a transaction open, released when
// this goes. "EXCLUSIVE" keeps readers and writers out; "IMMEDIATE" only writers.
class HeldBank {
public:
    explicit HeldBank(const QString& bankPath, const char* how);
    ~HeldBank();
    HeldBank(const HeldBank&) = delete;
    HeldBank& operator=(const HeldBank&) = delete;
    bool holds() const { return held_; }

private:
    QString name_;
    bool held_ = false;
};

struct ExclusiveLock : HeldBank {
    explicit ExclusiveLock(const QString& bankPath) : HeldBank(bankPath, "EXCLUSIVE") {}
};
struct WriteLock : HeldBank {
    explicit WriteLock(const QString& bankPath) : HeldBank(bankPath, "IMMEDIATE") {}
};

// The file made immutable (chattr +i) while this lives, so that even root cannot write it;
// holds() is false where the file system has no such flag.
class Immutable {
public:
    explicit Immutable(const QString& path);
    ~Immutable();
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool holds() const { return held_; }

private:
    bool set(bool on);
    QString path_;
    bool held_ = false;
};

// The file read-only for everybody while this lives: its permissions, and immutable as well
// where the tests run as root, whom permissions do not stop. holds() tells whether it worked.
class Unwritable {
public:
    explicit Unwritable(const QString& path);
    ~Unwritable();
    bool holds() const;

private:
    QString path_;
    Immutable immutable_;
};
