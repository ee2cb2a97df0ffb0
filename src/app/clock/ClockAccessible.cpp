#include "app/clock/ClockAccessible.h"

#include "app/clock/MainForm.h"

#include <QAccessibleWidget>

namespace velmora {

namespace {

const QString kProgramName = QStringLiteral("Velmora");

class TClockAccessible : public QAccessibleWidget {
public:
    explicit TClockAccessible(TMainForm* form) : QAccessibleWidget(form, QAccessible::Window) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return kProgramName;
        if (t == QAccessible::Description)
            return static_cast<const TMainForm*>(widget())->ClockStr().trimmed();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* ClockAccessibleFactory(const QString&, QObject* object) {
    if (auto* form = qobject_cast<TMainForm*>(object))
        return new TClockAccessible(form);
    return nullptr;
}

} // namespace

void InstallClockAccessibility() {
    static const bool installed = (QAccessible::installFactory(ClockAccessibleFactory), true);
    Q_UNUSED(installed);
}

} // namespace velmora
