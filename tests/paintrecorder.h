#pragma once

#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QTransform>

// A paint device that keeps, for every text drawn on it, the text as the painter handed it to
// the device and the box its glyphs advance through, in device pixels. Shows what reaches the
// page: the whole figure or a part, and how wide it was really drawn.
class PaintRecorder : public QPaintDevice {
public:
    struct DrawnText {
        QString text;
        QRectF extent;
    };

    PaintRecorder(QSize size, int dotsPerInch) : m_size(size), m_dotsPerInch(dotsPerInch) {}

    const QList<DrawnText> &texts() const { return m_engine.texts; }
    QPaintEngine *paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return m_size.width() * 254 / (10 * m_dotsPerInch);
        case PdmHeightMM:
            return m_size.height() * 254 / (10 * m_dotsPerInch);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dotsPerInch;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &state) override {
            if (state.state() & DirtyTransform)
                transform = state.transform();
        }
        // Only texts are kept; the rest is drawn nowhere.
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawImage(const QRectF &, const QImage &, const QRectF &,
                       Qt::ImageConversionFlags) override {}
        void drawTiledPixmap(const QRectF &, const QPixmap &, const QPointF &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawLines(const QLineF *, int) override {}
        void drawRects(const QRectF *, int) override {}
        void drawEllipse(const QRectF &) override {}
        void drawPath(const QPainterPath &) override {}
        void drawPoints(const QPointF *, int) override {}
        void drawTextItem(const QPointF &at, const QTextItem &item) override {
            const QRectF advance(at.x(), at.y() - item.ascent(), item.width(),
                                 item.ascent() + item.descent());
            texts << DrawnText{item.text(), transform.mapRect(advance)};
        }
        Type type() const override { return User; }

        QTransform transform;
        QList<DrawnText> texts;
    };

    QSize m_size;
    int m_dotsPerInch;
    mutable Engine m_engine;
};
