#pragma once

#include <QFrame>

// One loop's measurement scale as a bar cut into three bands by the lower and
// upper bound, both in percent of the bar's width: below the lower bound the
// alarm band (red), between the bounds the normal band (green), above the
// upper bound the fault band (yellow). A reversed loop swaps the two outer
// bands. The name of the band under the cursor is the bar's tool tip.
class NaprLines : public QFrame {
    Q_OBJECT

public:
    explicit NaprLines(QWidget* parent = nullptr);

    // Written directly by the loop ranges page; shown at the next paint.
    // 99 means the right edge: code 1023 / 10.23 truncates to 99.
    int min = 0;
    int max = 0;
    bool rev = false;

    // The band's name at column x of a bar `width` pixels wide.
    QString BandAt(int x, int width) const;

public slots:
    // Takes the three values and repaints at once.
    void RepaintLine(int min, int max, bool rev);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
