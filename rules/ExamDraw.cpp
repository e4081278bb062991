#include "rules/ExamDraw.h"

#include "data/SharedState.h"
#include "platform/Random.h"

#include <QVector>
#include <algorithm>

void InitExamRanges() {
    gExamRanges[1] = 1;
    for (int i = 2; i <= 12; ++i)
        gExamRanges[i] = static_cast<qint16>(15 * (i - 1));
    const qint16 fixed[] = {170, 173, 183, 263, 278, 286, 294, 310, 323, 339,
                            355, 371, 390, 413, 425, 448, 475, 496, 514};
    for (int i = 13; i <= 31; ++i)
        gExamRanges[i] = fixed[i - 13];
}

bool IsExcludedFromExams(int id) {
    static constexpr int kRetired[] = {268, 296, 297, 301, 318, 323, 324, 353, 354, 356, 357, 358, 360,
                                       384, 392, 394, 395, 396, 399, 416, 417, 422, 439, 444, 446};
    if (id >= 195 && id <= 262)
        return true;
    return std::find(std::begin(kRetired), std::end(kRetired), id) != std::end(kRetired);
}

void DrawExamQuestions(const QSet<int>* available) {
    gExamFilter.clear();
    Randomize();
    for (int i = 1; i <= kExamSize; ++i) {
        const int low = gExamRanges[i];
        const int high = gExamRanges[i + 1];
        QVector<int> candidates;
        if (available) {
            for (int id = low; id < high; ++id) {
                if (available->contains(id) && !IsExcludedFromExams(id))
                    candidates.append(id);
            }
        }
        int n = 0;
        if (!candidates.isEmpty()) {
            // The same distribution as drawing over the whole range until the bank has the number,
            // without the draws that could never end on a sparse bank.
            const double r = Rnd();
            n = candidates[std::min(static_cast<int>(candidates.size() * r), int(candidates.size()) - 1)];
        } else {
            do {
                // In double the product of a float below 1 and the width stays below the width, so the
                // next range's first number is never drawn; the clamp guards a source that breaks [0, 1).
                const double r = Rnd();
                n = std::min(static_cast<int>((high - low) * r) + low, high - 1);
            } while (IsExcludedFromExams(n));
        }
        gExamIDs[i] = static_cast<qint16>(n);
        gExamFilter += QStringLiteral("ID=%1 Or ").arg(n);
        gAnswers[i] = 1;
    }
    gExamFilter.chop(4); // the last " Or "
}
