#include "app/options/ColorPanel.h"

#include "app/options/OptionForm.h"
#include "app/options/OptionHelpers.h"
#include "app/options/OptionHost.h"
#include "core/ColorSets.h"

#include <QColorDialog>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace velmora {

TColorPanel::TColorPanel(const QString& name, QWidget* parent, double scale)
    : QFrame(parent), FScale(scale) {
    setObjectName(name);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    resize(int(std::lround(50 * scale)), int(std::lround(20 * scale)));
    setCursor(Qt::PointingHandCursor);
}

void TColorPanel::SetColor(const QColor& c) {
    if (c == FColor)
        return;
    FColor = c;
    update();
}

QLabel* TColorPanel::Image(const QString& name) {
    if (!FImage) {
        FImage = new QLabel(this);
        FImage->setObjectName(name);
        FImage->setGeometry(rect().adjusted(1, 1, -1, -1));
        FImage->setScaledContents(true);
        FImage->setCursor(Qt::ArrowCursor);
    }
    return FImage;
}

bool TColorPanel::Covered() const {
    return FImage && !FImage->isHidden();
}

void TColorPanel::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(rect().adjusted(1, 1, -1, -1), isEnabled() ? FColor : FColor.lighter(130));
    p.end();
    QFrame::paintEvent(event);
}

void TColorPanel::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    // The mark is a child: clicks on it never reach here.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        FOnClick && !Covered()) {
        const auto handler = FOnClick;
        handler(this);
    }
}

int GetPanelNumber(const QWidget* panel) {
    const QString name = panel ? panel->objectName() : QString();
    if (name.size() < 3)
        return -1;
    const QString tail = name.right(3);
    bool ok = false;
    const int n = tail.toInt(&ok);
    const bool digits =
        std::all_of(tail.cbegin(), tail.cend(), [](QChar c) { return c.isDigit(); });
    return ok && digits ? n : -1;
}

TColor* PanelColorField(TVlmSettings& s, int number) {
    // The hundreds name the set (2: normal, 5: alarm), the rest the colour in it.
    const int group = number / 100;
    const int index = number % 100 - 1;
    if ((group != 2 && group != 5) || index < 0 || index >= kColorSetSize)
        return nullptr;
    return &(s.*ColorSetField(group == 5 ? TColorSet::Alarm : TColorSet::Normal, index));
}

void LoadPanelColor(TColorPanel* panel, const TVlmSettings& s,
                    const std::function<QColor(TColor)>& resolve) {
    // The table is read only here; the cast lets one table serve reading and writing.
    if (const TColor* field = PanelColorField(const_cast<TVlmSettings&>(s), panel->Number()))
        panel->SetColor(resolve(*field));
}

void PrepareColorDialog(QColorDialog& dialog, const QColor& color) {
    QColorDialog::setCustomColor(0, color);
    dialog.setCurrentColor(color);
}

void ColorPanelClick(TColorPanel* panel, TOptionForm& form) {
    QColorDialog dialog(&form);
    dialog.setObjectName(QStringLiteral("ColorDialog1"));
    PrepareColorDialog(dialog, panel->Color());
    const std::optional<QColor> chosen = form.Dialogs.Color(dialog);
    if (!chosen || !chosen->isValid())
        return;
    panel->SetColor(*chosen);
    if (TColor* field = PanelColorField(form.Host().Settings(), panel->Number()))
        *field = QColorToColor(*chosen);
}

void SetupColorPanels(QWidget* groupBox, TOptionForm& form) {
    for (TColorPanel* panel :
         groupBox->findChildren<TColorPanel*>(QString(), Qt::FindDirectChildrenOnly)) {
        panel->SetNumber(GetPanelNumber(panel));
        panel->SetOnClick([&form](TColorPanel* p) { ColorPanelClick(p, form); });
        LoadPanelColor(panel, form.Host().Settings(),
                       [&form](TColor c) { return form.Host().ResolvedColor(c); });
    }
}

QPixmap TransparentMarkPixmap(const QSize& size) {
    QImage image(size, QImage::Format_ARGB32);
    DrawTransparentMark(image);
    return QPixmap::fromImage(image);
}

QPixmap NoBorderMarkPixmap(const QSize& size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    DrawNoBorderMark(image);
    return QPixmap::fromImage(image);
}

} // namespace velmora
