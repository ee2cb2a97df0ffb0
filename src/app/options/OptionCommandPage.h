// The command page of the options dialog: the live command list in a grid, with
// add, delete, move and an editor for the chosen command. Command 0 is the time
// sync: its title and program are fixed, and it never moves or goes away.
#pragma once

#include "app/options/OptionPage.h"

#include <QRect>

class QGroupBox;
class QLabel;
class QPainter;
class QPushButton;

namespace velmora {

class TKvEdit;
class TKvGrid;
class TKvPngButton;
class TKvCommandItem;
struct TGridDrawState;

class TOptionCommandPage : public TOptionPage {
    Q_OBJECT
public:
    TOptionCommandPage(IOptionHost& host, TOptionForm& form, QWidget* parent);

    void ApplyLang() override;
    // The grid set-up of the showing sequence; the column widths come afterwards
    // through SetColWidth (the dialog state).
    void LoadFromMain() override;
    // Edit601Exit .. Edit604Exit, as the save button runs them.
    void CommitEdits() override;
    // The grid's column widths kept with the dialog's state.
    void LoadState(const TOptionFormState& state) override;
    void SaveState(TOptionFormState& state) const override;

    static constexpr int kColCount = 4;
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);

    void Grid601Click();
    void Grid601DblClick();
    void Grid601ColWidthsChanged();
    void Grid601DrawCell(QPainter& canvas, int col, int row, const QRect& rect,
                         TGridDrawState state);
    void Button601Click();
    void Button602Click();
    void Button603Click();
    void Edit601Exit();
    void Edit602Exit();
    void Edit603Exit();
    void Edit604Exit();
    void PngButton601Click();
    void PngButton602Click();
    // Moves the chosen command one place up (-1) or down (+1).
    void MoveCommandItem(int direction);

    QLabel* Label601 = nullptr;
    TKvGrid* Grid601 = nullptr;
    TKvPngButton* PngButton601 = nullptr;
    TKvPngButton* PngButton602 = nullptr;
    QPushButton* Button601 = nullptr;
    QGroupBox* GroupBox601 = nullptr;
    QLabel* Label602 = nullptr;
    TKvEdit* Edit601 = nullptr;
    QLabel* Label603 = nullptr;
    TKvEdit* Edit602 = nullptr;
    QPushButton* Button602 = nullptr;
    QLabel* Label604 = nullptr;
    TKvEdit* Edit603 = nullptr;
    QLabel* Label605 = nullptr;
    TKvEdit* Edit604 = nullptr;
    QPushButton* Button603 = nullptr;

    // Text margins of the grid's cells, from its font and row height.
    int FGridTextLeftMargin = 0;
    int FGridTextTopMargin = 0;
    bool FLoaded = false; // the boxes show a command (the page was loaded)

private:
    // The command of the grid's current row, or null (the heading, an empty list).
    TKvCommandItem* CurrentItem() const;
    int CurrentIndex() const;
    // The list changed its length or order: rows, current row, timing lists.
    void CommandListChanged(int row);
    void RepaintGrid();
    QString CellText(int col, int index) const;
};

} // namespace velmora
