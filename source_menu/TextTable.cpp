#include "source_menu/TextTable.h"

#include "core/ControlMngr.h"
#include "core/Singleton.h"
#include "source_menu/ScrollPopup.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/widgets/WidgetLabel.h"

namespace {

// Where the background and the highlight sit below their row's text.
constexpr float kBackgroundDrop = 0.003f;
constexpr float kHighlightDrop = 0.005f;

} // namespace

TextTable::TextTable(const std::vector<WidgetLabel*>& labels, WidgetBase* background, WidgetBase* highlight)
    : columnLabels(labels), columns(labels.size()), rowBackground(background), rowHighlight(highlight)
{
    setWidgetsVisible(0);
}

void TextTable::clear()
{
    for (std::vector<std::wstring>& column : columns)
        column.clear();
}

void TextTable::addRow(const std::vector<std::wstring>& row)
{
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i].push_back(i < row.size() ? row[i] : std::wstring());
}

// Only "t_" names a text: a player's or a rival park's name that merely starts with 't' is shown
// as it is.
bool TextTable::isTextKey(const std::wstring& cell)
{
    return cell.size() >= 2 && cell[0] == L't' && cell[1] == L'_';
}

void TextTable::setWidgetsVisible(int flag)
{
    if (rowBackground)
        rowBackground->setVisible(flag);
    if (rowHighlight)
        rowHighlight->setVisible(flag);
    for (WidgetLabel* label : columnLabels)
        label->setVisible(flag);
}

// The pointer strictly inside the background's first picture as the background now stands.
bool TextTable::pointerOverBackground() const
{
    std::vector<MyImage*>& images = rowBackground->getImages();
    if (images.empty())
        return false;
    const float4 r = images.front()->getRect();
    const float4 t = rowBackground->getTransform();
    const PointerPosition p = Singleton<ControlMngr>::get()->getPointer(-1);
    return r.x + t.x < p.x && p.x < r.x + r.z * t.z + t.x && r.y + t.y < p.y && p.y < r.y + r.w * t.w + t.y;
}

int TextTable::draw()
{
    setWidgetsVisible(1);
    int highlighted = -1;
    const bool popupOpen = Singleton<ScrollPopup>::get()->isVisible() != 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        WidgetLabel* label = columnLabels[i];
        for (size_t j = 0; j < columns[i].size(); ++j) {
            const std::wstring& cell = columns[i][j];
            if (cell.empty())
                continue;
            const float rowY = static_cast<float>(j) * rowHeight;
            if (i == 0 && rowBackground) {
                rowBackground->setOffset(0.0f, rowY + kBackgroundDrop);
                if (!alternate || j % 2 == 0)
                    rowBackground->draw();
                if (rowHighlight && !popupOpen) {
                    const bool marked = selectedRow == -1 ? pointerOverBackground()
                                                          : static_cast<int>(j) == selectedRow;
                    if (marked) {
                        rowHighlight->setOffset(0.0f, rowY + kHighlightDrop);
                        rowHighlight->draw();
                        highlighted = static_cast<int>(j);
                    }
                }
            }
            label->setText(cell, isTextKey(cell) ? 1 : 0, 0);
            label->setOffset(0.0f, rowY);
            label->draw();
        }
    }
    setWidgetsVisible(0);
    return highlighted;
}
