// The owner-drawn grid as the command page shows it: four columns under a gradient
// heading row, texts cut to their cells, the chosen command's row selected.
#include "Gallery.h"
#include "widgets/KvGrid.h"
#include "widgets/KvTextFit.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QStringList>
#include <vector>

namespace {

const QStringList KHeadings{QStringLiteral("タイトル"), QStringLiteral("じっこー ファイル"),
                            QStringLiteral("じっこー ファイルの オプション"),
                            QStringLiteral("コマンド オプション")};

const std::vector<QStringList> KCommands{
    {QStringLiteral("とけー あわせ"), QStringLiteral("/opt/velmora/Sync/VelmoSync"),
     QStringLiteral("ntp.nict.jp"), QStringLiteral("A S 03:00")},
    {QStringLiteral("Editor"), QStringLiteral("/usr/bin/gedit"),
     QStringLiteral("--new-window ~/notes/today-and-tomorrow.txt"), QStringLiteral("")},
    {QStringLiteral("バックアップ"), QStringLiteral("/home/user/bin/backup-all-photos-to-nas.sh"),
     QStringLiteral("--verbose"), QStringLiteral("R")},
    {QStringLiteral("Terminal"), QStringLiteral("/usr/bin/xterm"), QStringLiteral(""),
     QStringLiteral("H")},
    {QStringLiteral("メール"), QStringLiteral("/usr/bin/thunderbird"), QStringLiteral(""),
     QStringLiteral("S")},
    {QStringLiteral("Calendar"), QStringLiteral("/usr/bin/gnome-calendar"), QStringLiteral(""),
     QStringLiteral("")},
    {QStringLiteral("Music"), QStringLiteral("/usr/bin/rhythmbox"), QStringLiteral(""),
     QStringLiteral("")},
};

void SetUpCommandGrid(velmora::TKvGrid& grid) {
    using namespace velmora;
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(12);
    grid.setFont(font);
    grid.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing |
                    goRowSelect | goThumbTracking);
    grid.SetColCount(4);
    grid.SetRowCount(int(KCommands.size()) + 1);
    grid.SetFixedRows(1);
    grid.SetFixedCols(0);
    grid.ViewOptions().AdjustDefaultColors();
    const int rowHeight = 22;
    grid.SetDefaultRowHeight(rowHeight);
    const int widths[] = {78, 98, 90, 62};
    for (int i = 0; i < 4; ++i)
        grid.SetColWidths(i, widths[i]);
    grid.resize(353, grid.horizontalScrollBar()->sizeHint().height() + 6 * rowHeight + 6);
    grid.SetOnColWidthsChanged([&grid] { grid.LimitColWidth(); });

    const int margin = QFontMetrics(font).height() / 2;
    grid.SetOnDrawCell(
        [margin](QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) {
            const QRect text = rect.adjusted(margin, 0, -margin, 0);
            const QString& s = state.Fixed ? KHeadings[col] : KCommands[row - 1][col];
            const QString fitted = FitTextWithEllipsis(canvas.fontMetrics(), text.width(), s).Text;
            canvas.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, fitted);
        });
    grid.SetRow(3);
}

} // namespace

VELMORA_GALLERY_PAGE("grid") {
    velmora::TKvGrid grid;
    SetUpCommandGrid(grid);
    grid.setFocus();
    gallery::Snap(&grid, out, QStringLiteral("grid-command-list"));

    // The same list without focus and with a half-transparent selection.
    velmora::TKvGrid inactive;
    SetUpCommandGrid(inactive);
    inactive.ViewOptions().SetSelectedColorAlphaBlendValue(128);
    inactive.SetRow(1);
    gallery::Snap(&inactive, out, QStringLiteral("grid-inactive"));
}
