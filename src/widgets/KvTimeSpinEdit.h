// A one-line edit for a time of day, "hh:nn:ss" (optionally ".zzz") in fixed
// positions, worked on one field at a time: a click or Left/Right selects a
// field, digits shift into it and a completed field or a typed separator moves
// on to the next (so a whole time can be typed), and the arrows, Up/Down and
// the wheel step it with wrap-around and no carry into the next field.
#pragma once

#include "widgets/KvSpinEditBase.h"
#include "widgets/KvTimeFields.h"

#include <memory>

class QProxyStyle;

namespace velmora {

class TKvTimeSpinEdit : public TKvSpinEditBase {
public:
    explicit TKvTimeSpinEdit(QWidget* parent = nullptr);
    ~TKvTimeSpinEdit() override;

    // The time of day as a fraction of a day (0.5 is noon). Reading parses the
    // text; text that is not a time gives the last time written. Writing keeps
    // only the time of day.
    double Time() const;
    void SetTime(double t);
    bool ShowMSec() const { return FShowMSec; }
    void SetShowMSec(bool show);
    // The start of the field that the arrows and typing work on: 0, 3, 6 or 9.
    int CurrentPos() const { return FCurrentPos; }

    void StepUp() override;
    void StepDown() override;

    // Nested; the box is not redrawn until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    const TKvTimeSeparators& Separators() const { return FSeparators; }
    int LastField() const { return FShowMSec ? KvMSecPos : KvSecondsPos; }
    QString CurrentFieldText() const;
    void SelectField(int pos);
    void StepField(int delta);
    // A digit or a separator typed; false when typing does not take it.
    bool TypeChar(QChar ch);
    void ReplaceCurrentField(const QString& field);
    void FillSpaces();
    void MoveToField(int pos);
    int CharacterAt(int x); // moves the caret there
    void SelectFieldAt(const QPoint& pos);
    bool HandleNavigationKey(QKeyEvent* event);

    int FCurrentPos = KvHoursPos;
    bool FJustMoved = false; // see TKvTimeEntry
    bool FShowMSec = false;
    double FTime = 0;
    int FUpdateLock = 0;
    TKvTimeSeparators FSeparators;                // those of the locale the text was written in
    std::unique_ptr<QProxyStyle> FCaretlessStyle; // hides the caret: the selection shows the field
};

} // namespace velmora
