#pragma once

#include <QString>
#include <array>
#include <optional>

// The editor's rules, apart from its window: which correct-option texts are accepted and which
// may be stored, and writing one question back to the bank.

// The range test the correct-option box applies: the leading number of the text lies strictly
// between 0 and 5 ("2.5", "3x" and " 2" pass it; "", "0", "5" and "-1" do not).
bool CorrectOptionInRange(const QString& text);

// The option number a correct-option text may be stored as: the texts "1".."4" once trimmed of
// blanks (" 3" and "3 " store 3). Any other text that passes the range test ("2.5", "3x", "02") is
// never written, as the bank would refuse it.
std::optional<int> StorableCorrectOption(const QString& text);

// What the editor's boxes hold for one question when it is saved; texts untrimmed, as shown.
struct EditedQuestion {
    QString soorateSoal;
    std::array<QString, 4> options;
    QString correct;
};

// Whether saving `edited` over the question as it was shown (`shown`: the texts and the correct
// option as read from the bank) would change what the bank holds: a text retyped the same, or
// differing only in the blanks a save trims, and a correct option that would not be stored or
// names the same number, change nothing.
bool ChangesQuestion(const EditedQuestion& shown, const EditedQuestion& edited);

enum class SaveOutcome {
    Written,      // found and written (or found with nothing to change)
    NotFound,     // the ID is in neither collection: nothing written, nothing to say
    NotWritten,   // the bank refused the write (read-only, full, gone): nothing of it landed
    Busy,         // another program holds the bank: nothing of it landed
    NotPermitted, // a school server refused this login the write (a learner's): nothing landed
};

// Writes the question with this ID wherever the two writable collections hold it, texts trimmed,
// the correct option only where it is storable, all in one transaction: the whole record lands,
// or nothing does.
SaveOutcome SaveQuestion(const QString& connectionString, double id, const EditedQuestion& question);
