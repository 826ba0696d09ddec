#include "busy_indicator.h"

#include <QPainter>

namespace velmora {

BusyIndicator::BusyIndicator(QWidget* parent)
    : QWidget(parent)
{
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % 12;
        update();
    });
    hide();
}

void BusyIndicator::start()
{
    show();
    m_timer.start();
}

void BusyIndicator::stop()
{
    m_timer.stop();
    hide();
}

void BusyIndicator::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height());
    p.translate(width() / 2.0, height() / 2.0);
    p.scale(side / 28.0, side / 28.0);
    for (int i = 0; i < 12; ++i) {
        const int age = (m_step - i + 12) % 12;
        QColor c(31, 78, 121);
        c.setAlphaF(1.0 - age / 13.0);
        p.setPen(QPen(c, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.save();
        p.rotate(i * 30.0);
        p.drawLine(QPointF(0, -6), QPointF(0, -11));
        p.restore();
    }
}

} // namespace velmora
