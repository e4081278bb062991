#include "rules/QuestionEdit.h"

#include "data/Connection.h"
#include "data/Recordset.h"
#include "data/Sql.h"
#include "platform/Vb.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcEditor, "ravex.editor", QtCriticalMsg)

bool CorrectOptionInRange(const QString& text) {
    const double v = vb::Val(text);
    return v > 0 && v < 5;
}

std::optional<int> StorableCorrectOption(const QString& text) {
    // The save stores the trimmed text, so that is what must be one of the four numbers.
    const QString trimmed = vb::Trim(text);
    for (int k = 1; k <= 4; ++k) {
        if (trimmed == QString::number(k))
            return k;
    }
    return std::nullopt;
}

bool ChangesQuestion(const EditedQuestion& shown, const EditedQuestion& edited) {
    // A box the user left alone holds the shown text exactly; one retyped changes the bank only
    // where its trimmed text differs.
    const auto changes = [](const QString& before, const QString& now) {
        return now != before && vb::Trim(now) != before;
    };
    bool changed = changes(shown.soorateSoal, edited.soorateSoal);
    for (size_t k = 0; k < edited.options.size(); ++k)
        changed = changed || changes(shown.options[k], edited.options[k]);
    const std::optional<int> correct = StorableCorrectOption(edited.correct);
    return changed || (correct && *correct != vb::Val(shown.correct));
}

namespace {
// A trimmed text, never null: a null string would be written as NULL, which the bank refuses.
QString Stored(const QString& text) {
    const QString trimmed = vb::Trim(text);
    return trimmed.isNull() ? QStringLiteral("") : trimmed;
}
} // namespace

SaveOutcome SaveQuestion(const QString& connectionString, double id, const EditedQuestion& question) {
    Connection connection(connectionString);
    const auto refused = [&connection] {
        switch (connection.error()) {
        case BankError::Busy:
            return SaveOutcome::Busy;
        case BankError::NotPermitted:
            return SaveOutcome::NotPermitted;
        default:
            return SaveOutcome::NotWritten;
        }
    };
    if (!connection.isOpen() || !connection.begin()) {
        qCWarning(lcEditor) << "the bank could not be opened for a save";
        return refused();
    }
    const std::optional<int> correct = StorableCorrectOption(question.correct);
    const QString number = QString::number(id);
    bool found = false;
    bool unreadable = false; // a lookup that could not run: the question may be there
    bool failed = false;     // a write the bank refused
    // adoS: the one record a save writes to, looked up among the general questions and then
    // among the signs and intersections; written wherever it is found.
    for (const QString& lookup : sql::SaveLookups(number)) {
        Recordset adoS;
        if (!adoS.open(lookup, connection)) {
            qCWarning(lcEditor) << "lookup failed:" << lookup;
            unreadable = true;
            continue;
        }
        if (adoS.isBOF() || adoS.isEOF())
            continue;
        found = true;
        if (correct)
            adoS.setValue(QStringLiteral("G_Sahih"), *correct);
        adoS.setValue(QStringLiteral("SoorateSoal"), Stored(question.soorateSoal));
        for (int k = 1; k <= 4; ++k)
            adoS.setValue(QStringLiteral("G%1").arg(k), Stored(question.options[k - 1]));
        // Values go in bound, never joined into the statement.
        if (!adoS.update()) {
            // Nothing after a refused write lands (a server's transaction is over), and its cause
            // is the one to tell.
            qCWarning(lcEditor) << "question" << number << "was not written";
            failed = true;
            break;
        }
    }
    if (found && !failed && connection.commit())
        return SaveOutcome::Written;
    connection.rollback();
    return found || failed || unreadable ? refused() : SaveOutcome::NotFound;
}
