#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>

class QLabel;
class QWidget;

// Every colour and font the windows share, and the helpers that apply them.
namespace look {

inline const QColor kFormBlue(155, 188, 225);    // windows, panels and the main window's area
inline const QColor kCorrectGreen(2, 134, 5);    // the correct option
inline const QColor kQuestionBlue(0, 0, 192);    // question text and counters
inline const QColor kTitleYellow(255, 255, 192); // the category title's ground
inline const QColor kMaroon(128, 0, 0);          // the exam's wrong count when passed
inline const QColor kRed(255, 0, 0);             // the wrong count when failed
inline const QColor kMarkerGraded(0, 0, 128);    // the answer marker once graded
inline const QColor kNoteRed(128, 0, 0);         // the editor's note

// Right-aligned text stays on the right under right-to-left.
inline constexpr Qt::Alignment kAlignRight = Qt::AlignRight | Qt::AlignAbsolute;

// The windows' fonts by the names they were designed with. A family the machine lacks is drawn
// with the installed face that stands in for it, named directly.
QString InstalledFamily(const QString& designed);
QFont Font(const QString& designed, double points, bool bold = false);
// The menus and titles use the desktop's font; where that is only the generic "Sans Serif", they
// use the windows' stand-in instead. Called once, before the first window.
void UseInstalledDefaultFont();
QFont NazaninBold(double points);
QFont TahomaBold(double points);
QFont Tahoma(double points);

void SetTextColour(QWidget* widget, const QColor& colour);
void SetBackColour(QWidget* widget, const QColor& colour); // fills the widget's ground
void SetFormBackground(QWidget* form);                     // the windows' shared blue

// A label for text that may come from the bank: shown exactly as stored, never as markup.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                  Qt::Alignment alignment = kAlignRight | Qt::AlignTop);

// One of the program's compiled-in pictures (":/nav/left"), at its size and, where there is one,
// at twice its size.
QIcon Picture(const QString& name);

// The program's compiled-in pictures must be registered once before first use.
void EnsureResources();

} // namespace look
