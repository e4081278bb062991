#pragma once

#include "rules/QuestionEdit.h"

#include <QString>

// The texts the crash driver writes for one version of a question: every field names the
// question and the version, so a question holding fields of two versions is found.
inline EditedQuestion VersionOf(int id, int version) {
    EditedQuestion q;
    q.soorateSoal = QStringLiteral("v%1 q%2").arg(version).arg(id);
    for (int k = 0; k < 4; ++k)
        q.options[k] = QStringLiteral("v%1 o%2 q%3").arg(version).arg(k + 1).arg(id);
    q.correct = QString::number(version % 4 + 1);
    return q;
}
