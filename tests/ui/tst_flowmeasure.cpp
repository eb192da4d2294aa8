#include "FlowLayout.h"

#include <QtTest>
#include <cmath>

// The two layout operations on their own, without items.
class TestFlowMeasure : public QObject
{
    Q_OBJECT

private slots:
    void threeChipsWrapAfterTwo()
    {
        const QList<QSizeF> chips(3, QSizeF(100, 36));
        QCOMPARE(FlowLayout::measure(300, chips, 8), QSizeF(300, 36 + 8 + 36));
        const QList<QPointF> at = FlowLayout::place(QRectF(0, 0, 300, 0), chips, 8);
        QCOMPARE(at, (QList<QPointF>{{0, 0}, {108, 0}, {0, 44}}));
    }

    void placesInsideTheGrantedRectangle()
    {
        const QList<QSizeF> chips(3, QSizeF(100, 36));
        const QList<QPointF> at = FlowLayout::place(QRectF(20, 10, 300, 0), chips, 8);
        QCOMPARE(at, (QList<QPointF>{{20, 10}, {128, 10}, {20, 54}}));
    }

    // Ending exactly at the right edge stays on the line; one point more wraps.
    void rightEdgeIsStrict()
    {
        const QList<QSizeF> fits{{100, 30}, {92, 30}};
        QCOMPARE(FlowLayout::measure(200, fits, 8).height(), 30.0);
        QCOMPARE(FlowLayout::place(QRectF(0, 0, 200, 0), fits, 8).at(1), QPointF(108, 0));

        const QList<QSizeF> overflows{{100, 30}, {93, 30}};
        QCOMPARE(FlowLayout::measure(200, overflows, 8).height(), 68.0);
        QCOMPARE(FlowLayout::place(QRectF(0, 0, 200, 0), overflows, 8).at(1), QPointF(0, 38));
    }

    void overWideChildSitsAloneOnItsLine()
    {
        const QList<QSizeF> chips{{50, 20}, {400, 30}, {50, 20}};
        const QList<QPointF> at = FlowLayout::place(QRectF(0, 0, 300, 0), chips, 8);
        QCOMPARE(at, (QList<QPointF>{{0, 0}, {0, 28}, {0, 66}}));
        QCOMPARE(FlowLayout::measure(300, chips, 8), QSizeF(300, 20 + 8 + 30 + 8 + 20));
        // First of the whole layout, it does not wrap either.
        QCOMPARE(FlowLayout::place(QRectF(0, 0, 300, 0), {{400, 30}}, 8).at(0), QPointF(0, 0));
    }

    void linesAreAsTallAsTheirTallestChild()
    {
        const QList<QSizeF> chips{{100, 20}, {100, 50}, {100, 30}, {100, 10}};
        const QList<QPointF> at = FlowLayout::place(QRectF(0, 0, 250, 0), chips, 10);
        QCOMPARE(at, (QList<QPointF>{{0, 0}, {110, 0}, {0, 60}, {110, 60}}));
        QCOMPARE(FlowLayout::measure(250, chips, 10).height(), 50 + 10 + 30.0);
    }

    void noChildren()
    {
        QCOMPARE(FlowLayout::measure(300, {}, 8), QSizeF(300, 0));
        QVERIFY(FlowLayout::place(QRectF(0, 0, 300, 0), {}, 8).isEmpty());
    }

    void noOfferedWidthIsOneInfiniteLine()
    {
        const QList<QSizeF> chips(20, QSizeF(100, 36));
        const QSizeF size = FlowLayout::measure(std::nullopt, chips, 8);
        QVERIFY(std::isinf(size.width()));
        QCOMPARE(size.height(), 36.0);
    }
};

QTEST_APPLESS_MAIN(TestFlowMeasure)

#include "tst_flowmeasure.moc"
