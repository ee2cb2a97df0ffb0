#include "app/options/OptionControls.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>

namespace velmora {

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 0, 8, 0);
    grid->setVerticalSpacing(0);
}

void TRadioGroup::SetItems(const QStringList& items) {
    qDeleteAll(FButtons);
    FButtons.clear();
    FItemIndex = -1;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(objectName() + QStringLiteral("Item%1").arg(i));
        connect(b, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Chosen(i);
        });
        FButtons << b;
    }
    Relayout();
}

void TRadioGroup::SetItemText(int index, const QString& text) {
    if (QRadioButton* b = Item(index))
        b->setText(text);
}

void TRadioGroup::SetItemIndex(int index) {
    if (index < 0 || index >= Count()) {
        // No item chosen: the buttons are exclusive, so lift that for a moment.
        for (QRadioButton* b : FButtons) {
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
        if (FItemIndex != -1) {
            FItemIndex = -1;
            if (FOnClick)
                FOnClick();
        }
        return;
    }
    FButtons[index]->setChecked(true); // runs Chosen through toggled
}

void TRadioGroup::Chosen(int index) {
    if (index == FItemIndex)
        return;
    FItemIndex = index;
    if (FOnClick) {
        const auto handler = FOnClick;
        handler();
    }
}

void TRadioGroup::SetColumns(int columns) {
    FColumns = std::max(1, columns);
    Relayout();
}

void TRadioGroup::Relayout() {
    auto* grid = static_cast<QGridLayout*>(layout());
    for (QRadioButton* b : FButtons)
        grid->removeWidget(b);
    // Items fill the first column top to bottom, then the next, as many rows
    // as the count needs.
    const int rows = (Count() + FColumns - 1) / FColumns;
    for (int i = 0; i < Count(); ++i)
        grid->addWidget(FButtons[i], rows ? i % rows : 0, rows ? i / rows : 0);
    grid->activate();
}

bool ApplyFormCaption(QWidget* form, const TCaption& caption) {
    static const QRegularExpression itemKey(QStringLiteral("^(\\w+)\\.Items\\[(\\d+)\\]$"));
    static const QRegularExpression captionKey(QStringLiteral("^(\\w+)\\.Caption$"));
    if (const auto m = itemKey.match(caption.Key); m.hasMatch()) {
        auto* group = form->findChild<TRadioGroup*>(m.captured(1));
        if (!group || m.captured(2).toInt() >= group->Count())
            return false;
        group->SetItemText(m.captured(2).toInt(), caption.Text);
        return true;
    }
    const auto m = captionKey.match(caption.Key);
    if (!m.hasMatch())
        return false;
    const QString name = m.captured(1);
    if (form->objectName() == name) {
        form->setWindowTitle(caption.Text);
        return true;
    }
    QWidget* w = form->findChild<QWidget*>(name);
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(caption.Text);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(caption.Text);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(caption.Text);
    else
        return false;
    return true;
}

QString MsgText(const QString& loaded, const char* key) {
    return loaded.isEmpty() ? FallbackText(QLatin1String(key)) : loaded;
}

QString JoinMsg(const QString& first, const QString& second) {
    return first + QStringLiteral("\r\n\r\n") + second;
}

} // namespace velmora
