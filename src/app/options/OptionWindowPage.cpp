#include "app/options/OptionWindowPage.h"

#include "app/options/OptionControls.h"
#include "app/options/OptionHost.h"
#include "core/Settings.h"
#include "widgets/KvSpinEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora {

namespace {

// The same limits as loading keeps the settings file's values to.
constexpr double kScaleMin = kScalingRateRange.Min;
constexpr double kScaleMax = kScalingRateRange.Max;

// The value a spin edit hands to its handler, kept inside the box's range: while
// the user types, the box may hold a number it will only limit when it is left.
double SpinValueInRange(TKvSpinEdit* spin) {
    return std::clamp(spin->Value().toDouble(), double(spin->MinValue()), double(spin->MaxValue()));
}

} // namespace

// --- window page ------------------------------------------------------------------

TOptionWindowPage::TOptionWindowPage(IOptionHost& host, TOptionForm& form, QWidget* parent)
    : TOptionPage(host, form, parent) {
    setObjectName(QStringLiteral("TabSheet3"));
    auto* page = new QVBoxLayout(this);

    GroupBox301 = NewControl<QGroupBox>(this, "GroupBox301");
    auto* scale = new QGridLayout(GroupBox301);
    Label301 = NewControl<QLabel>(GroupBox301, "Label301");
    SpinEdit301 = NewControl<TKvSpinEdit>(GroupBox301, "SpinEdit301");
    Label302 = NewControl<QLabel>(GroupBox301, "Label302");
    SpinEdit302 = NewControl<TKvSpinEdit>(GroupBox301, "SpinEdit302");
    for (TKvSpinEdit* spin : {SpinEdit301, SpinEdit302}) {
        spin->SetValueKind(vkFloat);
        spin->SetDecimalPlaces(2);
        spin->SetIncrement(0.01);
        spin->SetMinValue(kScaleMin);
        spin->SetMaxValue(kScaleMax);
        spin->setMinimumWidth(90);
    }
    Label301->setBuddy(SpinEdit301);
    Label302->setBuddy(SpinEdit302);
    scale->addWidget(Label301, 0, 0);
    scale->addWidget(SpinEdit301, 0, 1);
    scale->addWidget(Label302, 1, 0);
    scale->addWidget(SpinEdit302, 1, 1);
    scale->setColumnStretch(2, 1);
    page->addWidget(GroupBox301);

    GroupBox302 = NewControl<QGroupBox>(this, "GroupBox302");
    auto* alpha = new QGridLayout(GroupBox302);
    CheckBox301 = NewControl<QCheckBox>(GroupBox302, "CheckBox301");
    Label303 = NewControl<QLabel>(GroupBox302, "Label303");
    SpinEdit303 = NewControl<TKvSpinEdit>(GroupBox302, "SpinEdit303");
    SpinEdit303->SetValueKind(vkInt);
    SpinEdit303->SetIncrement(1);
    SpinEdit303->setMinimumWidth(90);
    Label303->setBuddy(SpinEdit303);
    alpha->addWidget(CheckBox301, 0, 0, 1, 3);
    alpha->addWidget(Label303, 1, 0);
    alpha->addWidget(SpinEdit303, 1, 1);
    alpha->setColumnStretch(2, 1);
    page->addWidget(GroupBox302);

    RadioGroup301 = NewControl<TRadioGroup>(this, "RadioGroup301");
    RadioGroup301->SetItems({QString(), QString()}); // texts from the language
    page->addWidget(RadioGroup301);
    CheckBox302 = NewControl<QCheckBox>(this, "CheckBox302");
    page->addWidget(CheckBox302);
    page->addStretch(1);

    // Programmatic changes run the handlers too, as loading relies on.
    connect(CheckBox301, &QCheckBox::toggled, this, [this] { CheckBox301Click(); });
    SpinEdit303->SetOnChange([this] { SpinEdit303Change(); });
    RadioGroup301->SetOnClick([this] { RadioGroup301Click(); });
    connect(CheckBox302, &QCheckBox::toggled, this, [this] { CheckBox302Click(); });
    AttachScalingHandlers(true);
}

void TOptionWindowPage::AttachScalingHandlers(bool attach) {
    SpinEdit301->SetOnChange(attach ? std::function<void()>([this] { SpinEdit301Change(); })
                                    : std::function<void()>());
    SpinEdit302->SetOnChange(attach ? std::function<void()>([this] { SpinEdit302Change(); })
                                    : std::function<void()>());
}

void TOptionWindowPage::LoadFromMain() {
    // Loading the scale must not re-size the clock: the handlers are detached.
    AttachScalingHandlers(false);
    SpinEdit301->SetValue(FHost.Settings().ScalingRateX);
    SpinEdit302->SetValue(FHost.Settings().ScalingRateY);
    AttachScalingHandlers(true);

    CheckBox301->setChecked(FHost.Settings().AlphaBlend);
    SpinEdit303->SetMinValue(kAlphaBlendValueRange.Min);
    SpinEdit303->SetMaxValue(kAlphaBlendValueRange.Max);
    ApplyAlphaEnabled();
    SpinEdit303->SetValue(qlonglong(FHost.Settings().AlphaBlendValue));

    RadioGroup301->SetItemIndex(FHost.Settings().FormOnTopmost ? 0 : 1);
    RadioGroup301->SetColumns(2);
    CheckBox302->setChecked(FHost.Settings().HideOnFullScreen);
    CheckBox302->setEnabled(FHost.Settings().FormOnTopmost);
}

void TOptionWindowPage::SpinEdit301Change() {
    FHost.Settings().ScalingRateX = SpinValueInRange(SpinEdit301);
    FHost.SettingsChanged(TSettingChange::Size);
}

void TOptionWindowPage::SpinEdit302Change() {
    FHost.Settings().ScalingRateY = SpinValueInRange(SpinEdit302);
    FHost.SettingsChanged(TSettingChange::Size);
}

void TOptionWindowPage::CheckBox301Click() {
    FHost.Settings().AlphaBlend = CheckBox301->isChecked();
    ApplyAlphaEnabled();
    FHost.SettingsChanged(TSettingChange::Alpha);
}

void TOptionWindowPage::ApplyAlphaEnabled() {
    Label303->setEnabled(FHost.Settings().AlphaBlend);
    SpinEdit303->setEnabled(FHost.Settings().AlphaBlend);
}

void TOptionWindowPage::SpinEdit303Change() {
    FHost.Settings().AlphaBlendValue = int(SpinValueInRange(SpinEdit303));
    FHost.SettingsChanged(TSettingChange::Alpha);
}

void TOptionWindowPage::RadioGroup301Click() {
    switch (RadioGroup301->ItemIndex()) {
    case 0:
        FHost.Settings().FormOnTopmost = true;
        FHost.SettingsChanged(TSettingChange::Stacking);
        break;
    case 1:
        FHost.Settings().FormOnTopmost = false;
        FHost.SettingsChanged(TSettingChange::Stacking); // and to the front once
        break;
    default:
        break;
    }
    CheckBox302->setEnabled(FHost.Settings().FormOnTopmost);
}

void TOptionWindowPage::CheckBox302Click() {
    FHost.Settings().HideOnFullScreen = CheckBox302->isChecked();
    FHost.SettingsChanged(TSettingChange::FullScreenWatch);
}

} // namespace velmora
