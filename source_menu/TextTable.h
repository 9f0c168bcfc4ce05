#pragma once

// A table of text rows drawn with widgets a screen's layout already holds: one label per column,
// re-texted and moved down for every row in every frame, a row background and a row highlight.
// The highlight follows the pointer over column 0, or marks a fixed row (selectedRow).
// Used by the finance screens (bank, tickets, statistics, ranking, achievements).

#include <string>
#include <vector>

class WidgetBase;
class WidgetLabel;

class TextTable {
public:
    // Hides the labels and both row widgets: only draw() shows them. Either row widget may be null.
    TextTable(const std::vector<WidgetLabel*>& columnLabels, WidgetBase* rowBackground, WidgetBase* rowHighlight);

    // Empties every column; the number of columns stays.
    void clear();
    // Appends one row: cell i goes to column i. Missing cells are empty, extra cells are ignored.
    void addRow(const std::vector<std::wstring>& row);
    // Draws every row and returns the highlighted row, -1 for none.
    int draw();
    // Hides the labels and both row widgets again. A reset or a screen's appearance makes every
    // child visible: the screen calls this before its own draw, which would otherwise draw them
    // once more where the layout put them (a stray highlight and text over row 0).
    void hideWidgets() { setWidgetsVisible(0); }

    int rowCount() const { return columns.empty() ? 0 : static_cast<int>(columns.front().size()); }
    // A cell that names a text of the texts table: every row key starts with "t_".
    static bool isTextKey(const std::wstring& cell);

    float rowHeight = 0.017f;
    // Non-zero: the row background only behind rows 0, 2, 4, ...
    int alternate = 0;
    // -1: the highlight follows the pointer; else it marks this row.
    int selectedRow = -1;
    std::vector<WidgetLabel*> columnLabels;
    std::vector<std::vector<std::wstring>> columns;
    WidgetBase* rowBackground;
    WidgetBase* rowHighlight;

private:
    void setWidgetsVisible(int flag);
    bool pointerOverBackground() const;
};
