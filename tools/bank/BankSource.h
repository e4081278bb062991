#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

// The question bank as its reviewable text sources hold it (bank/), before it becomes the
// SQLite file and the numbered pictures of a data folder.

struct BankCategory {
    QString code;
    int order = 0;
    QString collection; // general, signs or old
    QString title;
};

struct BankQuestion {
    int id = 0;
    QString category;
    int correct = 0;
    QString picture; // a path under pictures/ without .svg; empty for none
    QString text;
    std::array<QString, 4> options;
    QString explanation; // why the correct option is right; empty for none
    QString where;       // file:line of the record, for messages
};

struct BankSource {
    QVector<BankCategory> categories;
    QVector<BankQuestion> questions;
    QStringList errors; // malformed records, with where they stand

    const BankCategory* category(const QString& code) const;
};

// Reads categories.tsv and every questions/*.txt below bankDir.
BankSource ReadBankSource(const QString& bankDir);
void ParseCategories(const QString& text, const QString& where, BankSource& into);
void ParseQuestions(const QString& text, const QString& where, BankSource& into);
