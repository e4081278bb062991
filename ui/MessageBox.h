#pragma once

#include <QString>
#include <functional>

class QFontMetrics;
class QWidget;

enum class MsgIcon { None, Information, Warning, Critical };

// One modal message with an OK button. Tests install a handler that records the message and
// answers at once, so no modal loop ever runs under test.
void MsgBox(QWidget* parent, const QString& prompt, MsgIcon icon, const QString& title);

using MessageBoxHandler =
    std::function<void(QWidget* parent, const QString& prompt, MsgIcon icon, const QString& title)>;
void SetMessageBoxHandler(MessageBoxHandler handler);

// A modal question with Yes and No (in Persian). Closed: the box was taken down by the program
// (CloseQuestion) before the learner answered. Tests install a handler that answers at once.
enum class Answer { Yes, No, Closed };
Answer AskYesNo(QWidget* parent, const QString& prompt, const QString& title);
using QuestionHandler = std::function<Answer(QWidget* parent, const QString& prompt, const QString& title)>;
void SetQuestionHandler(QuestionHandler handler);
// Takes down the question that is open, if any: it then answers Closed.
void CloseQuestion();

// The least width of a box whose title is title, so the frame shows the whole title.
int MessageBoxTitleWidth(const QString& title, const QFontMetrics& metrics);
