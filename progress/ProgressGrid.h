#pragma once

#include <QColor>
#include <QStringList>
#include <QVector>

class QTableWidget;
class QWidget;
struct CategoryScore;

// The progress windows' read-only tables: whole rows chosen one at a time, centred cells.
QTableWidget* MakeProgressGrid(QWidget* parent, const char* name, const QStringList& headers);
void SetProgressCell(QTableWidget* grid, int row, int column, const QString& text, const QColor& colour = {});

// The table of each category's share of right answers, named grdMozooat, and its filling: title,
// answers, right answers, and the share in percent, red below one half.
QTableWidget* MakeCategoryGrid(QWidget* parent);
void FillCategoryGrid(QTableWidget* grid, const QVector<CategoryScore>& scores);
