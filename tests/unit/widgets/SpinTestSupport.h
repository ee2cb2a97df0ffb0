// Readable test failures for Qt strings, shared by the spin edit tests.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

#include <QColor>
#include <QVariant>

inline void PrintTo(const QVariant& v, std::ostream* os) {
    *os << v.typeName() << "(" << v.toString().toStdString() << ")";
}

#include "widgets/KvSpinEditBase.h"
#include "widgets/KvUpDownButton.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

// A vertical wheel turn of `delta` eighths of a degree at `at` in `edit`.
inline void SendWheel(QWidget* edit, QPointF at, int delta) {
    QWheelEvent e(at, edit->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(edit, &e);
}

// A click in the middle of the up or down half of the edit's arrow pair.
inline void ClickArrowHalf(velmora::TKvSpinEditBase* edit, bool up) {
    auto* pair = edit->UpDownButton();
    QWidget* half = up ? static_cast<QWidget*>(pair->UpButton()) : pair->DownButton();
    QTest::mouseClick(half, Qt::LeftButton, {}, half->rect().center());
}
