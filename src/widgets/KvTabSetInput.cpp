// TKvTabSet: mouse, focus, wheel and hints.
#include "widgets/KvTabSet.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>

namespace velmora {

// --- mouse, focus, wheel, hints --------------------------------------------------

void TKvTabSet::mousePressEvent(QMouseEvent* e) {
    const Qt::KeyboardModifiers blocking =
        Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier;
    if (!isEnabled() || e->button() != Qt::LeftButton || (e->modifiers() & blocking))
        return;
    try {
        HandlePress(e->position().toPoint());
    } catch (...) {
        // A failing handler must not leave a glyph or a drag half-pressed.
        FGlyphClicked = false;
        FDragging = false;
    }
}

void TKvTabSet::mouseDoubleClickEvent(QMouseEvent*) {
    // The second press of a double click neither selects nor arms a drag.
}

void TKvTabSet::HandlePress(QPoint p) {
    // The hot tab normally follows the pointer already; a press without a move
    // before it (a touch pad tap, a synthetic click) still finds its tab.
    UpdateHotTab(p);
    if (FHotIndex >= 0 && GetGlyphRect(FHotIndex).contains(p)) {
        FMouseInGlyph = true;
        FGlyphClicked = true;
        FGlyphClickedIndex = FHotIndex;
        FTabs[FHotIndex]->SetGlyphState(gsDown);
        InvalidateGlyph(FHotIndex);
        return;
    }
    if (FHotIndex >= 0) {
        FDragging = true;
        const int t = QApplication::startDragDistance();
        FDragRect = QRect(p.x() - t, p.y() - t, 2 * t + 1, 2 * t + 1);
    }
    setFocus(Qt::MouseFocusReason);
    bool allowChange = true;
    DoTabBeforeSelect(allowChange);
    if (allowChange && FHotIndex >= 0 && FHotIndex < FTabs.Count())
        SetTabIndex(FHotIndex);
}

void TKvTabSet::mouseMoveEvent(QMouseEvent* e) {
    if (!isEnabled())
        return;
    const QPoint p = e->position().toPoint();
    if (FDragActive) {
        DragMoveTo(p);
        return;
    }
    if (FAllowDragTab && FDragging && !FDragRect.contains(p)) {
        BeginTabDrag();
        DragMoveTo(p);
        return;
    }
    UpdateHotTab(p);
    UpdateHotGlyph(p);
}

void TKvTabSet::UpdateHotTab(QPoint p) {
    const int old = FHotIndex;
    FHotIndex = IndexOfTabAt(p.x(), p.y());
    if (FHotIndex == old)
        return;
    // A glyph lit by the pointer goes dark when the pointer moves on.
    if (old >= 0 && old < FTabs.Count() && FTabs[old]->GlyphState() == gsHot)
        FTabs[old]->SetGlyphState(FTabs[old]->RestingGlyphState());
    InvalidateTab(old);
    if (FHotIndex != FTabIndex)
        InvalidateTab(FHotIndex);
}

void TKvTabSet::UpdateHotGlyph(QPoint p) {
    if (FHotIndex < 0)
        return;
    TKvTab* tab = FTabs[FHotIndex];
    FMouseInGlyph = GetGlyphRect(FHotIndex).contains(p);
    if (FGlyphClicked) {
        if (FHotIndex != FGlyphClickedIndex)
            tab->SetGlyphState(tab->RestingGlyphState());
    } else {
        tab->SetGlyphState(FMouseInGlyph ? gsHot : tab->RestingGlyphState());
    }
    InvalidateGlyph(FHotIndex);
}

void TKvTabSet::mouseReleaseEvent(QMouseEvent* e) {
    FDragging = false;
    const QPoint p = e->position().toPoint();
    if (FDragActive) {
        FinishDrag(p, false);
        return;
    }
    if (!FGlyphClicked)
        return;
    FGlyphClicked = false;
    const int index = FGlyphClickedIndex;
    if (index < 0 || index >= FTabs.Count())
        return;
    TKvTab* tab = FTabs[index];
    FMouseInGlyph = GetGlyphRect(index).contains(p);
    if (FMouseInGlyph) {
        tab->SetGlyphState(gsHot);
        InvalidateGlyph(index);
        DoGlyphClick(index);
    } else {
        tab->SetGlyphState(tab->RestingGlyphState());
        InvalidateGlyph(index);
    }
}

void TKvTabSet::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    if (FDragActive)
        return;
    FDragging = false;
    const int old = FHotIndex;
    FHotIndex = -1;
    FMouseInGlyph = false;
    if (old >= 0 && old < FTabs.Count()) {
        TKvTab* tab = FTabs[old];
        if (tab->GlyphState() == gsHot)
            tab->SetGlyphState(tab->RestingGlyphState());
        InvalidateTab(old);
    }
}

void TKvTabSet::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    if (!FFocused) {
        FFocused = true;
        InvalidateTab(FTabIndex);
    }
}

void TKvTabSet::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    if (FFocused) {
        FFocused = false;
        InvalidateTab(FTabIndex);
    }
}

void TKvTabSet::wheelEvent(QWheelEvent* e) {
    e->accept();
    if (FTabSteps <= 0)
        return;
    const int dy = e->angleDelta().y();
    if (dy < 0)
        ScrollDownClick();
    else if (dy > 0)
        ScrollUpClick();
}

void TKvTabSet::keyPressEvent(QKeyEvent* e) {
    if (FDragActive && e->key() == Qt::Key_Escape) {
        FinishDrag(mapFromGlobal(QCursor::pos()), true);
        return;
    }
    // No keyboard handling of its own: arrow keys do not change the tab.
    QWidget::keyPressEvent(e);
}

bool TKvTabSet::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip)
        return ShowHint(static_cast<QHelpEvent*>(e));
    return QWidget::event(e);
}

bool TKvTabSet::ShowHint(QHelpEvent* e) {
    const QPoint p = e->pos();
    const int index = IndexOfTabAt(p.x(), p.y());
    if (FCursorRect.contains(p) || index < 0) {
        e->ignore();
        return true;
    }
    FCursorRect = QRect(p.x() - 2, p.y() - 2, 4, 4);
    QToolTip::showText(e->globalPos(), FTabs[index]->Caption(), this, FCursorRect);
    return true;
}

} // namespace velmora
