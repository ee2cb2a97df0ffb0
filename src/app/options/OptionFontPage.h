// The font and colour page of the options dialog: the clock's font, the text
// colour (one colour or a gradient), the background (see-through, one colour or
// a gradient) and the outline, with their swatches.
#pragma once

#include "app/options/OptionPage.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace velmora {

class TColorPanel;
class TRadioGroup;

// The font description: FontCaption filled with the name, the style text, the
// size in points and the height in pixels at `dpi`. A negative size is a
// height in pixels.
QString FontDescription(const QString& pattern, const QString& name, int styleBits, int size,
                        double dpi);

class TOptionFontPage : public TOptionPage {
    Q_OBJECT
public:
    TOptionFontPage(IOptionHost& host, TOptionForm& form, QWidget* parent);

    void ApplyLang() override;
    void LoadFromMain() override;

    QGroupBox* GroupBox201 = nullptr;
    QPushButton* Button201 = nullptr;
    QLabel* Label201 = nullptr;
    QGroupBox* GroupBox202 = nullptr;
    QGroupBox* GroupBox203 = nullptr;
    QRadioButton* RadioButton201 = nullptr;
    QRadioButton* RadioButton202 = nullptr;
    TRadioGroup* RadioGroup201 = nullptr;
    TColorPanel* Panel201 = nullptr;
    TColorPanel* Panel202 = nullptr;
    TColorPanel* Panel203 = nullptr;
    QGroupBox* GroupBox204 = nullptr;
    QRadioButton* RadioButton203 = nullptr;
    QRadioButton* RadioButton204 = nullptr;
    QRadioButton* RadioButton205 = nullptr;
    TRadioGroup* RadioGroup202 = nullptr;
    TColorPanel* Panel204 = nullptr;
    TColorPanel* Panel205 = nullptr;
    TColorPanel* Panel206 = nullptr;
    QGroupBox* GroupBox205 = nullptr;
    QCheckBox* CheckBox201 = nullptr;
    TColorPanel* Panel207 = nullptr;
    QLabel* Image201 = nullptr; // see-through mark over Panel204
    QLabel* Image202 = nullptr; // no-outline mark over Panel207

    void Button201Click();
    void RadioButton201Click();
    void RadioButton202Click();
    void RadioGroup201Click();
    void RadioButton203Click();
    void RadioButton204Click();
    void RadioButton205Click();
    void RadioGroup202Click();
    void CheckBox201Click();

private:
    void ShowFontDescription();
    void BackgroundSolidOrTransparent(bool transparent);
};

} // namespace velmora
