// Colour swatches of the options dialog: a small sunken panel showing one colour
// of the clock, numbered by the last three characters of its name (Panel201 ..
// Panel507); a click opens the colour dialog and stores the chosen colour into
// the clock's field of that number. A swatch may hold a mark image (see-through
// background, no outline) that covers it: a click on the mark does nothing.
#pragma once

#include "core/ColorText.h"

#include <QFrame>
#include <functional>

class QColorDialog;
class QLabel;

namespace velmora {

struct TVlmSettings;
class TOptionForm;

class TColorPanel : public QFrame {
    Q_OBJECT
public:
    // 50 x 20 (scaled), with its own background.
    TColorPanel(const QString& name, QWidget* parent, double scale = 1.0);

    int Number() const { return FNumber; }
    void SetNumber(int n) { FNumber = n; }
    QColor Color() const { return FColor; }
    void SetColor(const QColor& c);
    // The mark image filling the inside (48 x 18 scaled); created on first use.
    QLabel* Image(const QString& name);
    QLabel* ExistingImage() const { return FImage; }
    bool Covered() const;
    void SetOnClick(std::function<void(TColorPanel*)> handler) { FOnClick = std::move(handler); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int FNumber = -1;
    QColor FColor;
    double FScale;
    QLabel* FImage = nullptr;
    std::function<void(TColorPanel*)> FOnClick;
};

// The number in the last three characters of the panel's name, -1 when they
// are not a number.
int GetPanelNumber(const QWidget* panel);
// The clock's colour field of a swatch number, or nullptr for another number.
TColor* PanelColorField(TVlmSettings& s, int number);
// The panel's colour := its field (resolved), when its number has one.
void LoadPanelColor(TColorPanel* panel, const TVlmSettings& s,
                    const std::function<QColor(TColor)>& resolve);
// Presets the colour dialog: its first custom colour and its current colour
// become `color`.
void PrepareColorDialog(QColorDialog& dialog, const QColor& color);
// The click of every swatch: choose a colour; on OK the swatch and its field
// take it. The clock applies it on its next tick.
void ColorPanelClick(TColorPanel* panel, TOptionForm& form);
// Every swatch that is a direct child of `groupBox`: numbered, bound to
// ColorPanelClick, coloured from its field.
void SetupColorPanels(QWidget* groupBox, TOptionForm& form);
// The same images the marks show, at the size of the panel's inside.
QPixmap TransparentMarkPixmap(const QSize& size);
QPixmap NoBorderMarkPixmap(const QSize& size);

} // namespace velmora
