#include "editor/NaprLines.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
const QColor kAlarm(255, 0, 0);
const QColor kFault(255, 255, 0);
const QColor kNormal(105, 231, 131);
const QColor kLine(0, 0, 0);

// Column of a bound at `percent` of `width`.
int Column(int percent, int width) {
    return int(percent / 100.0 * width);
}
} // namespace

NaprLines::NaprLines(QWidget* parent) : QFrame(parent) {
    setMouseTracking(true);
}

QString NaprLines::BandAt(int x, int width) const {
    const int lo = Column(min, width);
    const int hi = Column(max, width);
    if (x > lo && x < hi)
        return QStringLiteral("Норма");
    const bool fault = rev ? x < lo : x > hi;
    return fault ? QStringLiteral("Неисправность") : QStringLiteral("Тревога");
}

void NaprLines::RepaintLine(int min_, int max_, bool rev_) {
    min = min_;
    max = max_;
    rev = rev_;
    repaint();
}

void NaprLines::mouseMoveEvent(QMouseEvent* event) {
    setToolTip(BandAt(int(event->position().x()), width()));
    event->accept();
}

void NaprLines::paintEvent(QPaintEvent*) {
    if (min == 99)
        min = 100;
    if (max == 99)
        max = 100;
    const int w = width();
    const int h = height();
    // A bound outside 0..100 (a default band from a hand-edited file) is
    // drawn at the nearer edge.
    const int lo = std::clamp(Column(min, w), 0, w);
    const int hi = std::clamp(Column(max, w), 0, w);

    QPainter p(this);
    const int rows = h - 1;
    p.fillRect(0, 0, lo, rows, rev ? kFault : kAlarm);
    p.fillRect(lo, 0, std::max(hi - lo, 0), rows, kNormal);
    p.fillRect(hi, 0, w - hi, rows, rev ? kAlarm : kFault);
    p.setPen(QPen(kLine, 1));
    p.drawLine(lo, 0, lo, h - 1);
    p.drawLine(hi, 0, hi, h - 1);
    p.drawRect(0, 0, w - 1, h - 1);
}
