#include "app/options/OptionCommandPage.h"

#include "app/LangFiles.h"
#include "app/MessageDialog.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionControls.h"
#include "app/options/OptionForm.h"
#include "app/options/OptionHelpers.h"
#include "app/options/OptionHost.h"
#include "core/KvCommandList.h"
#include "widgets/KvEdit.h"
#include "widgets/KvGrid.h"
#include "widgets/KvPngButton.h"
#include "widgets/KvTextFit.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputMethod>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora {

namespace {

constexpr int kRowHeight = 22;
constexpr int kGlyphSize = 16;

// A filled arrow head in the button text colour, as a PNG for the PNG button.
QByteArray ArrowGlyph(bool up, const QColor& color) {
    QImage image(kGlyphSize, kGlyphSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    const double top = up ? 4.5 : 11.5;
    const double base = up ? 11.5 : 4.5;
    path.moveTo(8, top);
    path.lineTo(14, base);
    path.lineTo(2, base);
    path.closeSubpath();
    p.fillPath(path, color);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

bool SameIgnoringCase(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

TOptionCommandPage::TOptionCommandPage(IOptionHost& host, TOptionForm& form, QWidget* parent)
    : TOptionPage(host, form, parent) {
    setObjectName(QStringLiteral("TabSheet6"));
    auto* page = new QVBoxLayout(this);

    Label601 = NewControl<QLabel>(this, "Label601");
    page->addWidget(Label601);
    auto* listRow = new QHBoxLayout;
    Grid601 = NewControl<TKvGrid>(this, "Grid601");
    Label601->setBuddy(Grid601);
    listRow->addWidget(Grid601, 1);
    auto* moves = new QVBoxLayout;
    PngButton601 = NewControl<TKvPngButton>(this, "PngButton601");
    PngButton602 = NewControl<TKvPngButton>(this, "PngButton602");
    const QColor glyph = palette().color(QPalette::ButtonText);
    PngButton601->SetGlyphUp(ArrowGlyph(true, glyph));
    PngButton602->SetGlyphUp(ArrowGlyph(false, glyph));
    for (TKvPngButton* b : {PngButton601, PngButton602})
        b->setFixedSize(24, 22);
    moves->addStretch(1);
    moves->addWidget(PngButton601);
    moves->addSpacing(24);
    moves->addWidget(PngButton602);
    moves->addStretch(1);
    listRow->addLayout(moves);
    page->addLayout(listRow);

    Button601 = NewControl<QPushButton>(this, "Button601");
    auto* addRow = new QHBoxLayout;
    addRow->addStretch(1);
    addRow->addWidget(Button601);
    page->addLayout(addRow);

    GroupBox601 = NewControl<QGroupBox>(this, "GroupBox601");
    auto* editor = new QGridLayout(GroupBox601);
    Label602 = NewControl<QLabel>(GroupBox601, "Label602");
    Edit601 = NewControl<TKvEdit>(GroupBox601, "Edit601");
    Label603 = NewControl<QLabel>(GroupBox601, "Label603");
    Edit602 = NewControl<TKvEdit>(GroupBox601, "Edit602");
    Button602 = NewControl<QPushButton>(GroupBox601, "Button602");
    Label604 = NewControl<QLabel>(GroupBox601, "Label604");
    Edit603 = NewControl<TKvEdit>(GroupBox601, "Edit603");
    Label605 = NewControl<QLabel>(GroupBox601, "Label605");
    Edit604 = NewControl<TKvEdit>(GroupBox601, "Edit604");
    Button603 = NewControl<QPushButton>(GroupBox601, "Button603");
    const std::pair<QLabel*, TKvEdit*> rows[] = {
        {Label602, Edit601}, {Label603, Edit602}, {Label604, Edit603}, {Label605, Edit604}};
    int line = 0;
    for (const auto& [label, edit] : rows) {
        label->setBuddy(edit);
        editor->addWidget(label, line++, 0, 1, 2);
        editor->addWidget(edit, line++, 0, 1, edit == Edit602 ? 1 : 2);
        edit->SetDefaultContextMenuEnabled(true);
        edit->SetOnDblClick([edit](QObject*) { EditDblClick(edit); });
    }
    editor->addWidget(Button602, 3, 1);
    editor->setColumnStretch(0, 1);
    auto* deleteRow = new QHBoxLayout;
    deleteRow->addStretch(1);
    deleteRow->addWidget(Button603);
    editor->addLayout(deleteRow, line, 0, 1, 2);
    page->addWidget(GroupBox601);
    page->addStretch(1);

    Grid601->SetOnClick([this] { Grid601Click(); });
    Grid601->SetOnDblClick([this] { Grid601DblClick(); });
    Grid601->SetOnColWidthsChanged([this] { Grid601ColWidthsChanged(); });
    Grid601->SetOnDrawCell(
        [this](QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) {
            Grid601DrawCell(canvas, col, row, rect, state);
        });
    connect(Button601, &QPushButton::clicked, this, [this] { Button601Click(); });
    connect(Button602, &QPushButton::clicked, this, [this] { Button602Click(); });
    connect(Button603, &QPushButton::clicked, this, [this] { Button603Click(); });
    PngButton601->SetOnClick([this](QObject*) { PngButton601Click(); });
    Edit601->SetOnExit([this](QObject*) { Edit601Exit(); });
    Edit602->SetOnExit([this](QObject*) { Edit602Exit(); });
    Edit603->SetOnExit([this](QObject*) { Edit603Exit(); });
    Edit604->SetOnExit([this](QObject*) { Edit604Exit(); });
    PngButton602->SetOnClick([this](QObject*) { PngButton602Click(); });
}

void TOptionCommandPage::ApplyLang() {
    // The headings are drawn from the language's texts: draw them again, and
    // refresh the boxes (command 0's title follows the language), keeping what
    // the user typed into them.
    RepaintGrid();
    if (!FLoaded)
        return; // showing: the boxes are filled once the list is loaded
    CommitEdits();
    Grid601Click();
}

void TOptionCommandPage::LoadFromMain() {
    TKvGrid& g = *Grid601;
    g.setFrameShape(QFrame::NoFrame);
    g.setAttribute(Qt::WA_InputMethodEnabled, false);
    g.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing |
                 goRowSelect | goThumbTracking);
    g.SetFixedRows(1);
    g.SetFixedCols(0);
    g.SetColCount(kColCount);
    g.ViewOptions().AdjustDefaultColors();
    g.SetDefaultRowHeight(kRowHeight);
    g.setFixedHeight(g.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &g) +
                     6 * kRowHeight + 6);
    const QFontMetrics metrics(g.font());
    FGridTextLeftMargin = std::abs(QFontInfo(g.font()).pixelSize() / 2);
    FGridTextTopMargin = GetTextTopMargin(metrics, kRowHeight);
    g.SetRowCount(std::max(FHost.CommandList().Count(), 1) + 1);
    g.SetLeftCol(0); // the first column in view, whatever the grid started with
    Grid601Click();
    FLoaded = true;
}

void TOptionCommandPage::CommitEdits() {
    Edit601Exit();
    Edit602Exit();
    Edit603Exit();
    Edit604Exit();
}

void TOptionCommandPage::LoadState(const TOptionFormState& state) {
    for (int c = 0; c < kColCount; ++c)
        SetColWidth(c, state.ColWidths[std::size_t(c)]);
}

void TOptionCommandPage::SaveState(TOptionFormState& state) const {
    for (int c = 0; c < kColCount; ++c)
        state.ColWidths[std::size_t(c)] = ColWidth(c);
}

int TOptionCommandPage::ColWidth(int col) const {
    return Grid601->ColWidths(col);
}

void TOptionCommandPage::SetColWidth(int col, int width) {
    if (col >= 0 && col < Grid601->ColCount() && width > 0)
        Grid601->SetColWidths(col, width);
}

int TOptionCommandPage::CurrentIndex() const {
    return Grid601->Row() - 1;
}

TKvCommandItem* TOptionCommandPage::CurrentItem() const {
    const int i = CurrentIndex();
    if (i < 0 || i >= FHost.CommandList().Count())
        return nullptr;
    return &FHost.CommandList().Items(i);
}

void TOptionCommandPage::Grid601Click() {
    const TKvCommandItem* item = CurrentItem();
    if (!item) {
        for (TKvEdit* e : {Edit601, Edit602, Edit603, Edit604})
            e->clear();
    } else {
        Edit601->setText(item->Title());
        Edit602->setText(item->FileName());
        Edit603->setText(item->OptionStr());
        Edit604->setText(item->GetCommandOptionsStr());
    }
    // Command 0 keeps its title and program and its place; its server name and its
    // timing stay editable.
    const bool notSync = Grid601->Row() != 1;
    for (QWidget* w : std::initializer_list<QWidget*>{Edit601, Edit602, Button602, Button603,
                                                      PngButton601, PngButton602})
        w->setEnabled(notSync);
}

void TOptionCommandPage::Grid601DblClick() {
    FHost.RunCommandItem(CurrentIndex());
}

void TOptionCommandPage::Grid601ColWidthsChanged() {
    // Until the page is on the screen the grid has no size of its own yet: limiting
    // against it would squeeze every column (the stored widths are loaded then).
    if (Grid601->isVisible())
        Grid601->LimitColWidth();
}

QString TOptionCommandPage::CellText(int col, int index) const {
    const TKvCommandItem& item = FHost.CommandList().Items(index);
    switch (col) {
    case 0:
        return item.Title();
    case 1:
        return item.FileName();
    case 2:
        return item.OptionStr();
    default:
        return item.GetCommandOptionsStr();
    }
}

void TOptionCommandPage::Grid601DrawCell(QPainter& canvas, int col, int row, const QRect& rect,
                                         TGridDrawState state) {
    const QRect text =
        rect.adjusted(FGridTextLeftMargin, FGridTextTopMargin, -FGridTextLeftMargin, 0);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    if (state.Fixed) {
        const TMessageTable& m = Messages();
        const QString headings[kColCount] = {m.TitleLabel, m.FileNameLabel, m.OptionLabel,
                                             m.CommandOptionLabel};
        // Cut like the cells, so that a narrow column shows where its heading goes on.
        if (col >= 0 && col < kColCount)
            canvas.drawText(
                text, flags,
                FitTextWithEllipsis(QFontMetrics(canvas.font()), text.width(), headings[col]).Text);
        return;
    }
    if (row <= 0 || row - 1 >= FHost.CommandList().Count())
        return;
    const TFitResult fitted =
        FitTextWithEllipsis(QFontMetrics(canvas.font()), text.width(), CellText(col, row - 1));
    canvas.drawText(text, flags, fitted.Text);
}

void TOptionCommandPage::RepaintGrid() {
    Grid601->viewport()->update();
}

void TOptionCommandPage::CommandListChanged(int row) {
    TKvCommandList& list = FHost.CommandList();
    // Positions changed: a command falling due while the dialog is open must be
    // found at its new place.
    FHost.SettingsChanged(TSettingChange::CommandTimings);
    Grid601->SetRowCount(std::max(list.Count(), 1) + 1);
    Grid601->SetRow(row);
    Grid601->MakeRowVisible(Grid601->Row());
    Grid601Click();
    RepaintGrid();
}

void TOptionCommandPage::Button601Click() {
    TKvCommandList& list = FHost.CommandList();
    list.Add(std::make_unique<TKvCommandItem>());
    CommandListChanged(list.Count());
    Edit601->setFocus();
}

void TOptionCommandPage::Button603Click() {
    const int r = Grid601->Row();
    const TKvCommandItem* item = CurrentItem();
    if (r == 1 || !item)
        return;
    const TMessageTable& m = Messages();
    const QString text =
        FormatMsg(m.MsgConfirmDeleteItem + QStringLiteral("\r\n\r\n") + m.MsgConfirmOKCancel,
                  {item->Title()});
    if (ShowMessageDialog(text, TMsgDlgType::Confirmation, mbOK | mbCancel, window()) != mrOk)
        return;
    FHost.CommandList().Delete(r - 1);
    CommandListChanged(r - 1);
}

void TOptionCommandPage::MoveCommandItem(int direction) {
    // The arrow buttons take no focus, so a box being typed into has not been
    // left: take its text before the boxes show the moved command again.
    CommitEdits();
    TKvCommandList& list = FHost.CommandList();
    const int r = Grid601->Row();
    const int i = r - 1;
    if (r == 1 || i < 0 || i >= list.Count())
        return;
    if (direction < 0 && i <= 1) // command 1 never goes above the time sync
        return;
    if (direction > 0 && i >= list.Count() - 1)
        return;
    // A copy goes to the new place and the original leaves the old one.
    auto copy = std::make_unique<TKvCommandItem>();
    copy->Assign(list.Items(i));
    if (direction < 0) {
        list.Insert(i - 1, std::move(copy));
        list.Delete(i + 1);
    } else {
        list.Insert(i + 2, std::move(copy));
        list.Delete(i);
    }
    CommandListChanged(r + (direction < 0 ? -1 : 1));
}

void TOptionCommandPage::PngButton601Click() {
    MoveCommandItem(-1);
}

void TOptionCommandPage::PngButton602Click() {
    MoveCommandItem(+1);
}

void TOptionCommandPage::Edit601Exit() {
    // Command 0's title is the language's: never taken from the box.
    if (TKvCommandItem* item = CurrentItem();
        item && Grid601->Row() != 1 && !SameIgnoringCase(Edit601->text(), item->Title())) {
        item->SetTitle(Edit601->text());
        RepaintGrid();
    }
    KvSwitchInputMethodOff(window());
}

void TOptionCommandPage::Edit602Exit() {
    TKvCommandItem* item = CurrentItem();
    // Names differing in letter case only are other files on this system.
    if (!item || Grid601->Row() == 1 || Edit602->text() == item->FileName())
        return;
    item->SetFileName(Edit602->text());
    RepaintGrid();
}

void TOptionCommandPage::Edit603Exit() {
    TKvCommandItem* item = CurrentItem();
    // Options are case-sensitive for the programs here ("-v" is not "-V").
    if (!item || Edit603->text() == item->OptionStr())
        return;
    item->SetOptionStr(Edit603->text());
    RepaintGrid();
}

void TOptionCommandPage::Edit604Exit() {
    TKvCommandItem* item = CurrentItem();
    if (!item)
        return;
    item->SetCommandOptions(Edit604->text());
    FHost.SettingsChanged(TSettingChange::CommandTimings);
    Edit604->setText(item->GetCommandOptionsStr());
    RepaintGrid();
}

void TOptionCommandPage::Button602Click() {
    QFileDialog dialog(window());
    // Programs carry no extension here: every name matches, and the dialog lists
    // executable files (and folders to walk through) only.
    PrepareOpenDialog(dialog, Edit602->text(), QStringLiteral("Executable Files|*"),
                      QCoreApplication::applicationDirPath());
    dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const std::optional<QString> chosen = FForm.Dialogs.OpenFile(dialog);
    if (!chosen)
        return;
    Edit602->setText(QDir::toNativeSeparators(*chosen));
    Edit602Exit();
}

} // namespace velmora
