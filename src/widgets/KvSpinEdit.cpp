#include "widgets/KvSpinEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace velmora {

namespace {

bool IsIntegral(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

} // namespace

TKvSpinEdit::TKvSpinEdit(QWidget* parent) : TKvSpinEditBase(parent) {
    FValue.SetLocale(locale());
    SetValue(0.0L);
}

QVariant TKvSpinEdit::Value() {
    if (FValue.ValueKind() == vkFloat)
        return double(FValue.ReadFloat(text()));
    return qlonglong(FValue.ReadInt(text()));
}

void TKvSpinEdit::SetValue(const QVariant& value) {
    // Integers go through as integers, so that large ones keep every digit.
    if (IsIntegral(value))
        SetValue(static_cast<long double>(value.toLongLong()));
    else if (value.typeId() == QMetaType::ULongLong)
        SetValue(static_cast<long double>(value.toULongLong()));
    else
        SetValue(static_cast<long double>(value.toDouble()));
}

void TKvSpinEdit::SetValue(long double value) {
    SetTextIfChanged(FValue.Write(value));
}

void TKvSpinEdit::SetValueKind(TKvValueKind kind) {
    const long double v = FValue.Read(text());
    FValue.SetValueKind(kind);
    SetValue(v);
}

void TKvSpinEdit::SetDecimalPlaces(int places) {
    const long double v = FValue.Read(text());
    FValue.SetDecimalPlaces(places);
    SetValue(v);
}

void TKvSpinEdit::SetShowPlusSign(bool show) {
    const long double v = FValue.Read(text());
    FValue.SetShowPlusSign(show);
    SetValue(v);
}

void TKvSpinEdit::StepUp() {
    if (!isReadOnly())
        SetTextIfChanged(FValue.Step(text(), +1));
}

void TKvSpinEdit::StepDown() {
    if (!isReadOnly())
        SetTextIfChanged(FValue.Step(text(), -1));
}

void TKvSpinEdit::keyPressEvent(QKeyEvent* event) {
    // Typed characters outside the kind's set are dropped; shortcuts and
    // control characters (copy, paste, backspace, enter) go on as usual.
    const QString typed = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (!command && typed.size() == 1 && typed.front().isPrint() &&
        !KvSpinCharAllowed(typed.front(), FValue.ValueKind(), FValue.Locale())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (mods != Qt::NoModifier)
        return; // Ctrl+A selects all in the edit already
    if (event->key() == Qt::Key_Up) {
        StepUp();
        event->accept();
    } else if (event->key() == Qt::Key_Down) {
        StepDown();
        event->accept();
    }
}

void TKvSpinEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A click places the caret where it lands; any other way in selects everything.
    if (FAutoSelect && !(QApplication::mouseButtons() & Qt::LeftButton))
        selectAll();
}

void TKvSpinEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu borrows the focus only for a moment; the user is still editing.
    if (event->reason() != Qt::PopupFocusReason)
        Reapply();
}

void TKvSpinEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange && FValue.Locale() != locale()) {
        // Read the text in the notation it was written in, then show it in the new one.
        const long double v = FValue.Read(text());
        FValue.SetLocale(locale());
        SetValue(v);
    }
    TKvSpinEditBase::changeEvent(event);
}

} // namespace velmora
