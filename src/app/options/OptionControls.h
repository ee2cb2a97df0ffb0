// Small controls and helpers that the options dialog's pages share: the radio
// group, making a named control, the texts applied by component name, message
// texts with fallbacks.
#pragma once

#include "app/LangFiles.h"

#include <QGroupBox>
#include <QList>
#include <functional>

class QRadioButton;
class QGridLayout;

namespace velmora {

// A framed group of radio buttons in columns with one chosen item (ItemIndex,
// -1 for none). Choosing an item, by the user or by SetItemIndex, runs OnClick
// once when the index changes.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    int Count() const { return int(FButtons.size()); }
    QRadioButton* Item(int index) const { return FButtons.value(index); }
    void SetItemText(int index, const QString& text);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    int Columns() const { return FColumns; }
    void SetColumns(int columns);
    void SetOnClick(std::function<void()> handler) { FOnClick = std::move(handler); }

private:
    void Relayout();
    void Chosen(int index);

    QList<QRadioButton*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
    std::function<void()> FOnClick;
};

// A page's control, made in `parent` under the object name that the language
// file's texts and the tests find it by.
template <class W> W* NewControl(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

// Applies one text of the language file to the control it names inside `form`:
// "<Name>.Caption" to a button, label, group box or (for the form's own name)
// the window title, "<Name>.Items[i]" to a radio group's item. False when no
// such control exists (texts for the other pages of a partly built dialog).
bool ApplyFormCaption(QWidget* form, const TCaption& caption);

// The text of a message, or its built-in text while no language is loaded.
QString MsgText(const QString& loaded, const char* key);
// "first" + two line breaks + "second", as the confirmations and warnings join them.
QString JoinMsg(const QString& first, const QString& second);

} // namespace velmora
