#include "app/options/OptionBalloonPage.h"

#include "app/options/OptionControls.h"
#include "app/options/OptionHost.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace velmora {

TOptionBalloonPage::TOptionBalloonPage(IOptionHost& host, TOptionForm& form, QWidget* parent)
    : TOptionPage(host, form, parent) {
    setObjectName(QStringLiteral("TabSheet4"));
    auto* page = new QVBoxLayout(this);
    GroupBox401 = NewControl<QGroupBox>(this, "GroupBox401");
    auto* box = new QVBoxLayout(GroupBox401);
    CheckBox401 = NewControl<QCheckBox>(GroupBox401, "CheckBox401");
    box->addWidget(CheckBox401);
    page->addWidget(GroupBox401);
    page->addStretch(1);
    // The desktop's notification service takes a large image everywhere here.
    CheckBox401->setEnabled(true);
    connect(CheckBox401, &QCheckBox::toggled, this, [this] { CheckBox401Click(); });
}

void TOptionBalloonPage::LoadFromMain() {
    CheckBox401->setChecked(FHost.Settings().ShowLargeNotificationIcon);
}

void TOptionBalloonPage::CheckBox401Click() {
    FHost.Settings().ShowLargeNotificationIcon = CheckBox401->isChecked();
}

} // namespace velmora
