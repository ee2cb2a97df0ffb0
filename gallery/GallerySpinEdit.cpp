#include "Gallery.h"
#include "widgets/KvSpinEdit.h"
#include "widgets/KvTimeSpinEdit.h"

#include <QApplication>
#include <QLabel>

using namespace velmora;

namespace {

QLabel* Caption(QWidget* parent, const QString& text, int x, int y, const QFont* font = nullptr) {
    auto* l = new QLabel(text, parent);
    if (font)
        l->setFont(*font);
    l->move(x, y + 4);
    l->adjustSize();
    return l;
}

TKvSpinEdit* Spin(QWidget* parent, int x, int y, TKvValueKind kind, int decimals, double min,
                  double max, double increment, double value) {
    auto* e = new TKvSpinEdit(parent);
    e->setGeometry(x, y, 53, 23);
    e->SetValueKind(kind);
    e->SetDecimalPlaces(decimals);
    e->SetMinValue(min);
    e->SetMaxValue(max);
    e->SetIncrement(increment);
    e->SetValue(value);
    return e;
}

} // namespace

// The options dialog's boxes, the three frame styles and the number kinds.
VELMORA_GALLERY_PAGE("spinedit") {
    QWidget page;
    page.resize(460, 250);
    page.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QFont jp = page.font();
    jp.setFamilies({QStringLiteral("IPAGothic")});

    Caption(&page, QStringLiteral("横の倍率 (Scale X)"), 10, 10, &jp);
    Spin(&page, 200, 10, vkFloat, 2, 0.75, 1.25, 0.01, 1.0);
    Caption(&page, QStringLiteral("縦の倍率 (Scale Y)"), 10, 40, &jp);
    Spin(&page, 200, 40, vkFloat, 2, 0.75, 1.25, 0.01, 1.25);
    Caption(&page, QStringLiteral("不透明度 (Alpha)"), 10, 70, &jp);
    Spin(&page, 200, 70, vkInt, 0, 0, 255, 1, 255);

    Caption(&page, QStringLiteral("Single / None / Flat"), 10, 110);
    const TKvSpinStyle styles[] = {kssSingle, kssNone, kssFlat};
    for (int i = 0; i < 3; ++i)
        Spin(&page, 200 + i * 63, 110, vkInt, 0, 0, 0, 1, 42)->SetSpinStyle(styles[i]);

    Caption(&page, QStringLiteral("Hex, plus, Deutsch"), 10, 140);
    auto* hex = Spin(&page, 200, 140, vkHex, 0, 0, 0, 1, 255);
    hex->resize(63, 23);
    auto* plus = Spin(&page, 273, 140, vkInt, 0, 0, 0, 1, 5);
    plus->SetShowPlusSign(true);
    auto* german = Spin(&page, 336, 140, vkFloat, 2, 0, 0, 0.01, 1.5);
    german->setLocale(QLocale(QLocale::German, QLocale::Germany));
    german->resize(63, 23);

    Caption(&page, QStringLiteral("Disabled / read-only"), 10, 170);
    Spin(&page, 200, 170, vkInt, 0, 0, 0, 1, 7)->setEnabled(false);
    Spin(&page, 263, 170, vkInt, 0, 0, 0, 1, 8)->SetReadOnly(true);

    Caption(&page, QStringLiteral("大きな文字 (large font)"), 10, 205, &jp);
    auto* big = Spin(&page, 200, 200, vkFloat, 1, 0, 0, 0.1, 12.5);
    QFont bigFont = page.font();
    bigFont.setPixelSize(24);
    big->setFont(bigFont);
    big->resize(90, big->height());

    gallery::Snap(&page, out, QStringLiteral("spinedit"));
}

// The alarm time box, with and without milliseconds, one with a field selected.
VELMORA_GALLERY_PAGE("timespinedit") {
    QWidget page;
    page.resize(300, 130);
    page.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QFont jp = page.font();
    jp.setFamilies({QStringLiteral("IPAGothic")});

    Caption(&page, QStringLiteral("アラーム時刻 (Alarm)"), 10, 10, &jp);
    auto* alarm = new TKvTimeSpinEdit(&page);
    alarm->setGeometry(170, 10, 85, 23);
    alarm->SetTime((7 * 60 + 30) / 1440.0);

    Caption(&page, QStringLiteral("With milliseconds"), 10, 45);
    auto* msec = new TKvTimeSpinEdit(&page);
    msec->setGeometry(170, 45, 115, 23);
    msec->SetShowMSec(true);
    msec->SetTime((23 * 3600 + 59 * 60 + 58.125) / 86400.0);

    Caption(&page, QStringLiteral("Flat, minutes selected"), 10, 80);
    auto* flat = new TKvTimeSpinEdit(&page);
    flat->setGeometry(170, 80, 85, 23);
    flat->SetSpinStyle(kssFlat);
    flat->SetTime((12 * 60 + 34) / 1440.0);

    page.show();
    page.activateWindow();
    QApplication::processEvents();
    flat->setFocus(Qt::TabFocusReason);
    flat->setSelection(3, 2);
    gallery::Snap(&page, out, QStringLiteral("timespinedit"));
}
