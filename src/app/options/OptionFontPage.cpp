#include "app/options/OptionFontPage.h"

#include "app/LangFiles.h"
#include "app/clock/MainForm.h"
#include "app/options/ColorPanel.h"
#include "app/options/OptionControls.h"
#include "app/options/OptionForm.h"
#include "app/options/OptionHelpers.h"
#include "app/options/OptionHost.h"
#include "core/Settings.h"
#include "widgets/KvPaintBox.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {

namespace {

// The gradient-direction groups hold their caption above one row of items: room
// for both with a desktop font a little larger than the usual 9 points.
constexpr int kDirectionGroupHeight = 56;

// A colour choice of the page (the text's, the background's): a group box with
// its modes as radio buttons one below the other, the gradient direction under
// them, the one-colour swatch at the right and the gradient's two swatches
// beside each other below it.
struct TColorGroupPlaces {
    const char* Box;
    std::vector<const char*> Modes; // top to bottom
    const char* Direction;
    const char* Solid; // the one colour
    const char* From;  // the gradient's two colours
    const char* To;
    int Top;      // the box's, in its parent
    int SolidTop; // the one-colour swatch's, in the box
};

struct TColorGroup {
    QGroupBox* Box = nullptr;
    std::vector<QRadioButton*> Modes;
    TRadioGroup* Direction = nullptr;
    TColorPanel* Solid = nullptr;
    TColorPanel* From = nullptr;
    TColorPanel* To = nullptr;
};

// The group in `parent`, as tall as its modes need.
TColorGroup NewColorGroup(const TOptionForm& form, QWidget* parent, const TColorGroupPlaces& at) {
    constexpr int kRow = 22; // a radio button's line, the caption's too
    const int modes = int(at.Modes.size());
    TColorGroup g;
    g.Box = NewControl<QGroupBox>(parent, at.Box);
    form.Place(g.Box, 8, at.Top, 377, kRow * (modes + 1) + kDirectionGroupHeight + 6);
    for (int i = 0; i < modes; ++i) {
        g.Modes.push_back(NewControl<QRadioButton>(g.Box, at.Modes[size_t(i)]));
        form.Place(g.Modes.back(), 12, kRow * (i + 1), 220, 20);
    }
    g.Direction = NewControl<TRadioGroup>(g.Box, at.Direction);
    g.Direction->SetItems({QString(), QString()});
    form.Place(g.Direction, 12, kRow * (modes + 1), 220, kDirectionGroupHeight);
    g.Solid = form.NewColorPanel(g.Box, at.Solid, 295, at.SolidTop);
    g.From = form.NewColorPanel(g.Box, at.From, 239, 48);
    g.To = form.NewColorPanel(g.Box, at.To, 295, 48);
    return g;
}

// The panel's colour into its field, unless the field shows that colour already
// (a system colour then stays a system colour).
void StorePanelColor(IOptionHost& host, const TColorPanel* panel) {
    TColor* field = PanelColorField(host.Settings(), panel->Number());
    if (field && host.ResolvedColor(*field) != panel->Color())
        *field = QColorToColor(panel->Color());
}

// The styles the clock draws (ClockFont): no effects.
constexpr int kDrawnFontStyles = fsBold | fsItalic;

int StyleBits(const QFont& f) {
    return (f.bold() ? fsBold : 0) | (f.italic() ? fsItalic : 0);
}

// The dialog offers no effects: underline and strike-out are not the clock's.
void HideEffects(QFontDialog& dialog) {
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    for (QCheckBox* effect : dialog.findChildren<QCheckBox*>()) {
        effect->setChecked(false);
        effect->hide();
        if (auto* group = qobject_cast<QGroupBox*>(effect->parentWidget()))
            group->hide();
    }
}

} // namespace

QString FontDescription(const QString& pattern, const QString& name, int styleBits, int size,
                        double dpi) {
    const int points = size >= 0 ? size : int(std::nearbyint(-size * 72.0 / dpi));
    const int pixels = size >= 0 ? int(std::nearbyint(size * dpi / 72.0)) : -size;
    return FormatMsg(pattern, {name, GetFontStyleStr(styleBits), QString::number(points),
                               QString::number(std::abs(pixels))});
}

TOptionFontPage::TOptionFontPage(IOptionHost& host, TOptionForm& form, QWidget* parent)
    : TOptionPage(host, form, parent) {
    setObjectName(QStringLiteral("TabSheet2"));
    const auto at = [&form](QWidget* w, int x, int y, int width, int height) {
        form.Place(w, x, y, width, height);
    };
    const auto panel = [&form](QWidget* parent, const char* name, int x, int y) {
        return form.NewColorPanel(parent, name, x, y);
    };
    GroupBox201 = NewControl<QGroupBox>(this, "GroupBox201");
    at(GroupBox201, 8, 8, 393, 96);
    Button201 = NewControl<QPushButton>(GroupBox201, "Button201");
    at(Button201, 16, 22, 173, 24);
    Label201 = NewControl<QLabel>(GroupBox201, "Label201");
    Label201->setWordWrap(true);
    Label201->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    at(Label201, 16, 50, 360, 36);

    GroupBox202 = NewControl<QGroupBox>(this, "GroupBox202");
    at(GroupBox202, 8, 110, 393, 372);

    // The text: one colour or a gradient.
    const TColorGroup text = NewColorGroup(form, GroupBox202,
                                           {.Box = "GroupBox203",
                                            .Modes = {"RadioButton201", "RadioButton202"},
                                            .Direction = "RadioGroup201",
                                            .Solid = "Panel201",
                                            .From = "Panel202",
                                            .To = "Panel203",
                                            .Top = 20,
                                            .SolidTop = 22});
    GroupBox203 = text.Box;
    RadioButton201 = text.Modes[0];
    RadioButton202 = text.Modes[1];
    RadioGroup201 = text.Direction;
    Panel201 = text.Solid;
    Panel202 = text.From;
    Panel203 = text.To;

    // The background: see-through, one colour or a gradient.
    const TColorGroup background =
        NewColorGroup(form, GroupBox202,
                      {.Box = "GroupBox204",
                       .Modes = {"RadioButton203", "RadioButton204", "RadioButton205"},
                       .Direction = "RadioGroup202",
                       .Solid = "Panel204",
                       .From = "Panel205",
                       .To = "Panel206",
                       .Top = 152,
                       .SolidTop = 24});
    GroupBox204 = background.Box;
    RadioButton203 = background.Modes[0];
    RadioButton204 = background.Modes[1];
    RadioButton205 = background.Modes[2];
    RadioGroup202 = background.Direction;
    Panel204 = background.Solid;
    Panel205 = background.From;
    Panel206 = background.To;

    GroupBox205 = NewControl<QGroupBox>(GroupBox202, "GroupBox205");
    at(GroupBox205, 8, 306, 377, 58);
    CheckBox201 = NewControl<QCheckBox>(GroupBox205, "CheckBox201");
    at(CheckBox201, 12, 26, 270, 20);
    Panel207 = panel(GroupBox205, "Panel207", 295, 24);

    Image201 = Panel204->Image(QStringLiteral("Image201"));
    Image201->setPixmap(TransparentMarkPixmap(Image201->size()));
    Image202 = Panel207->Image(QStringLiteral("Image202"));
    Image202->setPixmap(NoBorderMarkPixmap(Image202->size()));

    connect(Button201, &QPushButton::clicked, this, [this] { Button201Click(); });
    // A radio button's handler runs when it becomes checked, by the user or by loading.
    const auto onChecked = [this](QRadioButton* b, void (TOptionFontPage::*handler)()) {
        connect(b, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on)
                (this->*handler)();
        });
    };
    onChecked(RadioButton201, &TOptionFontPage::RadioButton201Click);
    onChecked(RadioButton202, &TOptionFontPage::RadioButton202Click);
    onChecked(RadioButton203, &TOptionFontPage::RadioButton203Click);
    onChecked(RadioButton204, &TOptionFontPage::RadioButton204Click);
    onChecked(RadioButton205, &TOptionFontPage::RadioButton205Click);
    RadioGroup201->SetOnClick([this] { RadioGroup201Click(); });
    RadioGroup202->SetOnClick([this] { RadioGroup202Click(); });
    connect(CheckBox201, &QCheckBox::toggled, this, [this] { CheckBox201Click(); });
}

void TOptionFontPage::ApplyLang() {
    ShowFontDescription(); // the pattern may have changed
}

void TOptionFontPage::ShowFontDescription() {
    Label201->setText(FontDescription(MsgText(Messages().FontCaption, "FontCaption"),
                                      FHost.Settings().FontName,
                                      FHost.Settings().FontStyle & kDrawnFontStyles,
                                      FHost.Settings().FontSize, FHost.ClockDpiY()));
}

void TOptionFontPage::LoadFromMain() {
    ShowFontDescription();
    SetupColorPanels(GroupBox203, FForm);
    SetupColorPanels(GroupBox204, FForm);
    SetupColorPanels(GroupBox205, FForm);
    RadioButton202->setEnabled(FHost.D2DSupported());
    if (FHost.Settings().FontColorMode == cmGradient)
        RadioButton202->setChecked(true);
    else
        RadioButton201->setChecked(true);
    RadioGroup201->SetItemIndex(int(FHost.Settings().FontGradientDirection));
    RadioGroup201->SetColumns(2);
    Image201->setVisible(FHost.Settings().TransparentColor);
    switch (FHost.Settings().BackgroundColorMode) {
    case cmTransparent:
        RadioButton203->setChecked(true);
        break;
    case cmSolid:
        RadioButton204->setChecked(true);
        break;
    case cmGradient:
        RadioButton205->setChecked(true);
        break;
    }
    RadioGroup202->SetItemIndex(int(FHost.Settings().BackgroundGradientDirection));
    RadioGroup202->SetColumns(2);
    CheckBox201->setChecked(FHost.Settings().ShowBorder);
    Image202->setVisible(!FHost.Settings().ShowBorder);
}

void TOptionFontPage::Button201Click() {
    QFontDialog dialog(&FForm);
    dialog.setObjectName(QStringLiteral("FontDialog1"));
    HideEffects(dialog);
    dialog.setCurrentFont(FHost.ClockFont());
    const std::optional<QFont> chosen = FForm.Dialogs.Font(dialog);
    if (!chosen)
        return;
    FHost.Settings().FontName = chosen->family();
    FHost.Settings().FontStyle = StyleBits(*chosen);
    // Within the range the settings file keeps, so that what is saved loads back.
    const int size = chosen->pointSize() > 0 ? chosen->pointSize() : -chosen->pixelSize();
    FHost.Settings().FontSize = std::clamp(size, int(kFontSizeRange.Min), int(kFontSizeRange.Max));
    FHost.SettingsChanged(TSettingChange::Font);
    ShowFontDescription();
}

void TOptionFontPage::RadioButton201Click() {
    FHost.Settings().FontColorMode = cmSolid;
    StorePanelColor(FHost, Panel201);
    FHost.Settings().D2DEnabled = false;
    FHost.SettingsChanged(TSettingChange::DrawingPath);
    Panel201->show();
    Panel202->hide();
    Panel203->hide();
    RadioGroup201->setEnabled(false);
    FForm.NotifySettingsChanged(this);
}

void TOptionFontPage::RadioButton202Click() {
    FHost.Settings().FontColorMode = cmGradient;
    StorePanelColor(FHost, Panel202);
    StorePanelColor(FHost, Panel203);
    FHost.Settings().D2DEnabled = true;
    FHost.SettingsChanged(TSettingChange::DrawingPath);
    Panel201->hide();
    Panel202->show();
    Panel203->show();
    RadioGroup201->setEnabled(true);
    FForm.NotifySettingsChanged(this);
}

void TOptionFontPage::RadioGroup201Click() {
    if (RadioGroup201->ItemIndex() == 0)
        FHost.Settings().FontGradientDirection = gdHorizontal;
    else if (RadioGroup201->ItemIndex() == 1)
        FHost.Settings().FontGradientDirection = gdVertical;
}

void TOptionFontPage::BackgroundSolidOrTransparent(bool transparent) {
    FHost.Settings().BackgroundColorMode = transparent ? cmTransparent : cmSolid;
    FHost.Settings().TransparentColor = transparent;
    Image201->setVisible(FHost.Settings().TransparentColor);
    StorePanelColor(FHost, Panel204);
    Panel204->show();
    Panel205->hide();
    Panel206->hide();
    RadioGroup202->setEnabled(false);
    FHost.SettingsChanged(TSettingChange::Background);
    FForm.NotifySettingsChanged(this);
}

void TOptionFontPage::RadioButton203Click() {
    BackgroundSolidOrTransparent(true);
}

void TOptionFontPage::RadioButton204Click() {
    BackgroundSolidOrTransparent(false);
}

void TOptionFontPage::RadioButton205Click() {
    FHost.Settings().BackgroundColorMode = cmGradient;
    FHost.Settings().TransparentColor = false;
    Image201->hide();
    StorePanelColor(FHost, Panel205);
    StorePanelColor(FHost, Panel206);
    Panel204->hide();
    Panel205->show();
    Panel206->show();
    RadioGroup202->setEnabled(true);
    FHost.SettingsChanged(TSettingChange::Background);
    FForm.NotifySettingsChanged(this);
}

void TOptionFontPage::RadioGroup202Click() {
    if (RadioGroup202->ItemIndex() == 0)
        FHost.Settings().BackgroundGradientDirection = gdHorizontal;
    else if (RadioGroup202->ItemIndex() == 1)
        FHost.Settings().BackgroundGradientDirection = gdVertical;
}

void TOptionFontPage::CheckBox201Click() {
    FHost.Settings().ShowBorder = CheckBox201->isChecked();
    Image202->setVisible(!CheckBox201->isChecked());
    FForm.NotifySettingsChanged(this);
}

} // namespace velmora
