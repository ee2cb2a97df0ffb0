#include "widgets/KvTimeSpinEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProxyStyle>

namespace velmora {

namespace {

class TCaretlessStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TextCursorWidth)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Editing commands that would change the text behind the field rules' back.
bool IsFreeEditingCommand(QKeyEvent* event) {
    static const QKeySequence::StandardKey commands[] = {
        QKeySequence::Paste,
        QKeySequence::Cut,
        QKeySequence::Undo,
        QKeySequence::Redo,
        QKeySequence::DeleteEndOfWord,
        QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfLine,
        QKeySequence::DeleteCompleteLine,
        QKeySequence::Backspace,
    };
    for (auto command : commands)
        if (event->matches(command))
            return true;
    return event->key() == Qt::Key_Backspace;
}

} // namespace

TKvTimeSpinEdit::TKvTimeSpinEdit(QWidget* parent)
    : TKvSpinEditBase(parent), FCaretlessStyle(std::make_unique<TCaretlessStyle>()) {
    setStyle(FCaretlessStyle.get());
    FSeparators = TKvTimeSeparators::FromLocale(locale());
    SetTime(0);
}

TKvTimeSpinEdit::~TKvTimeSpinEdit() {
    // The style must outlive every use by this widget; detach it first.
    setStyle(nullptr);
}

double TKvTimeSpinEdit::Time() const {
    if (const auto t = KvParseTime(text(), Separators()))
        return *t;
    return FTime;
}

void TKvTimeSpinEdit::SetTime(double t) {
    FTime = KvTimeOfDay(t);
    FJustMoved = false;
    SetTextIfChanged(KvFormatTime(FTime, FShowMSec, Separators()));
    SelectField(FCurrentPos);
}

void TKvTimeSpinEdit::SetShowMSec(bool show) {
    if (show == FShowMSec)
        return;
    const double t = Time();
    FShowMSec = show;
    SetTime(t);
    FCurrentPos = KvHoursPos;
    SelectField(FCurrentPos);
}

void TKvTimeSpinEdit::StepUp() {
    StepField(+1);
}
void TKvTimeSpinEdit::StepDown() {
    StepField(-1);
}

void TKvTimeSpinEdit::BeginUpdate() {
    if (++FUpdateLock == 1)
        setUpdatesEnabled(false);
}

void TKvTimeSpinEdit::EndUpdate() {
    if (FUpdateLock > 0)
        --FUpdateLock;
    if (FUpdateLock == 0) {
        setUpdatesEnabled(true);
        update();
    }
}

QString TKvTimeSpinEdit::CurrentFieldText() const {
    return text().mid(KvTimeFieldStart(FCurrentPos), KvTimeFieldLength(FCurrentPos));
}

void TKvTimeSpinEdit::SelectField(int pos) {
    if (hasFocus())
        setSelection(KvTimeFieldStart(pos), KvTimeFieldLength(pos));
}

void TKvTimeSpinEdit::StepField(int delta) {
    if (isReadOnly())
        return;
    FJustMoved = false;
    // The field's own text, not the selection: after Home or End the selection
    // may be empty, and stepping must still go on from what the field shows.
    ReplaceCurrentField(KvStepFieldText(CurrentFieldText(), FCurrentPos, delta));
}

bool TKvTimeSpinEdit::TypeChar(QChar ch) {
    QString selected = selectedText();
    if (hasSelectedText() && KvTimeFieldStart(selectionStart()) !=
                                 KvTimeFieldStart(selectionStart() + selected.size() - 1)) {
        // A selection across fields (all selected): the typed time begins in its first field.
        FCurrentPos = KvTimeFieldStart(selectionStart());
        FJustMoved = false;
        selected = CurrentFieldText();
    }
    const auto typed =
        KvTypeTimeChar({text(), FCurrentPos, FJustMoved}, selected, ch, FShowMSec, Separators());
    if (!typed)
        return false;
    FCurrentPos = typed->Pos;
    FJustMoved = typed->JustMoved;
    BeginUpdate();
    SetTextIfChanged(typed->Text);
    EndUpdate();
    SelectField(FCurrentPos);
    return true;
}

void TKvTimeSpinEdit::ReplaceCurrentField(const QString& field) {
    BeginUpdate();
    SetTextIfChanged(KvReplaceField(text(), FCurrentPos, field, FShowMSec));
    EndUpdate();
    SelectField(FCurrentPos);
}

void TKvTimeSpinEdit::FillSpaces() {
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    SetTextIfChanged(KvFillSpaces(text()));
    setCursorPosition(start);
}

void TKvTimeSpinEdit::MoveToField(int pos) {
    FJustMoved = false;
    FillSpaces();
    FCurrentPos = pos;
    SelectField(FCurrentPos);
}

int TKvTimeSpinEdit::CharacterAt(int x) {
    // The edit reports the caret position nearest to x; the character under x
    // is the one before that position when x lies left of it.
    int p = cursorPositionAt(QPoint(x, height() / 2));
    setCursorPosition(p);
    if (p > 0 && x < cursorRect().center().x())
        --p;
    return p;
}

void TKvTimeSpinEdit::SelectFieldAt(const QPoint& pos) {
    // Only the horizontal position counts: a click anywhere in the height of a field selects it.
    FCurrentPos = KvTimeFieldStart(CharacterAt(pos.x()));
    FJustMoved = false;
    SelectField(FCurrentPos);
}

bool TKvTimeSpinEdit::HandleNavigationKey(QKeyEvent* event) {
    const int key = event->key();
    const bool arrow =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (!arrow)
        return false;
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (mods == Qt::ShiftModifier && (key == Qt::Key_Left || key == Qt::Key_Right))
        return true; // no selection by the keyboard: fields are chosen whole
    if (mods != Qt::NoModifier)
        return false;
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    if (key == Qt::Key_Left)
        MoveToField(KvTimePrevField(selStart, FShowMSec));
    else if (key == Qt::Key_Right)
        MoveToField(KvTimeNextField(selStart, FShowMSec));
    else if (key == Qt::Key_Up)
        StepUp();
    else
        StepDown();
    return true;
}

void TKvTimeSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (HandleNavigationKey(event)) {
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (!command && typed.size() == 1 && !isReadOnly() && TypeChar(typed.front())) {
        // Digits and separators go through the field rules; the edit never
        // inserts text itself.
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && !command && !(event->modifiers() & Qt::ShiftModifier)) {
        // Delete clears the field to zeros: the box always shows a time, and
        // Time() is what it shows.
        if (!isReadOnly())
            ReplaceCurrentField(QString(KvTimeFieldLength(FCurrentPos), QLatin1Char('0')));
        event->accept();
        return;
    }
    if (IsFreeEditingCommand(event) || (!command && !typed.isEmpty() && typed.front().isPrint())) {
        event->accept(); // letters, punctuation, Backspace, paste and cut are ignored
        return;
    }
    QLineEdit::keyPressEvent(event); // Home, End, copy, Tab, ...
}

void TKvTimeSpinEdit::mousePressEvent(QMouseEvent* event) {
    TKvSpinEditBase::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled() && !OnArrows(event))
        SelectFieldAt(event->position().toPoint());
}

void TKvTimeSpinEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click selects the field like a single one, never a "word" across a separator.
    TKvSpinEditBase::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled() && !OnArrows(event))
        SelectFieldAt(event->position().toPoint());
}

void TKvTimeSpinEdit::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::LeftButton)
        return; // no drag selection across fields
    TKvSpinEditBase::mouseMoveEvent(event);
}

void TKvTimeSpinEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    FJustMoved = false;
    if (FCurrentPos > text().size())
        FCurrentPos = KvHoursPos;
    if (QApplication::mouseButtons() & Qt::LeftButton)
        return; // the click chooses the field
    SelectField(FCurrentPos);
}

void TKvTimeSpinEdit::focusOutEvent(QFocusEvent* event) {
    // Remember the field, not a caret position inside it, so that the next visit selects it whole.
    FCurrentPos = KvTimeFieldStart(hasSelectedText() ? selectionStart() : cursorPosition());
    if (FCurrentPos > LastField())
        FCurrentPos = KvHoursPos;
    QLineEdit::focusOutEvent(event);
    FillSpaces();
}

void TKvTimeSpinEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) {
        // Read the text with the separators it was written with, then rewrite it.
        const double t = Time();
        FSeparators = TKvTimeSeparators::FromLocale(locale());
        SetTime(t);
    }
    TKvSpinEditBase::changeEvent(event);
}

} // namespace velmora
