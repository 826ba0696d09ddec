#include "marquee.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace velmora {

Marquee::Marquee(QWidget* parent)
    : QWidget(parent)
{
    m_timer.setInterval(16);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Marquee::step);
}

void Marquee::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    updateTimer();
}

void Marquee::clearItems()
{
    m_items.clear();
    itemsChanged();
}

int Marquee::addItem(const QString& text, ItemStyle style)
{
    m_items.append({text, style});
    itemsChanged();
    return int(m_items.size()) - 1;
}

void Marquee::setItemText(int index, const QString& text)
{
    if (index < 0 || index >= m_items.size())
        return;
    m_items[index].text = text;
    itemsChanged();
}

void Marquee::setItemStyle(int index, ItemStyle style)
{
    if (index < 0 || index >= m_items.size())
        return;
    m_items[index].style = style;
    itemsChanged();
}

void Marquee::setItemSpacing(int pixels)
{
    m_spacing = std::max(0, pixels);
    itemsChanged();
}

void Marquee::setSpeed(int pixelsPerSecond)
{
    m_speed = std::max(1, pixelsPerSecond);
}

QSize Marquee::sizeHint() const
{
    return {200, fontMetrics().height() + 8};
}

int Marquee::contentWidth()
{
    if (!m_stripValid)
        renderStrip();
    return m_strip.isNull() ? 0 : qRound(m_strip.width() / m_strip.devicePixelRatioF());
}

void Marquee::itemsChanged()
{
    m_stripValid = false;
    m_scrolled = 0;
    updateTimer();
    update();
}

void Marquee::renderStrip()
{
    m_stripValid = true;
    m_strip = QPixmap();
    if (m_items.isEmpty())
        return;

    // Each item as a document without wrapping, laid out one after the other.
    std::vector<std::unique_ptr<QTextDocument>> documents;
    qreal width = 0;
    qreal height = 0;
    for (const Item& item : std::as_const(m_items)) {
        auto document = std::make_unique<QTextDocument>();
        document->setDefaultFont(font());
        document->setDocumentMargin(0);
        if (item.style == ItemStyle::Html)
            document->setHtml(item.text);
        else
            document->setPlainText(item.text);
        if (width > 0)
            width += m_spacing;
        width += document->idealWidth();
        height = std::max(height, document->size().height());
        documents.push_back(std::move(document));
    }

    const qreal ratio = devicePixelRatioF();
    const int stripWidth = std::max(1, int(std::ceil(width)));
    const int stripHeight = std::max(1, int(std::ceil(height)));
    m_strip = QPixmap(QSize(stripWidth, stripHeight) * ratio);
    m_strip.setDevicePixelRatio(ratio);
    m_strip.fill(Qt::transparent);
    QPainter p(&m_strip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.palette.setColor(QPalette::Text, palette().color(QPalette::WindowText));
    qreal x = 0;
    for (const auto& document : documents) {
        p.save();
        p.translate(x, (stripHeight - document->size().height()) / 2);
        document->documentLayout()->draw(&p, context);
        p.restore();
        x += document->idealWidth() + m_spacing;
    }
}

void Marquee::updateTimer()
{
    const bool run = m_active && isVisible() && !m_items.isEmpty();
    if (run && !m_timer.isActive()) {
        m_clock.start();
        m_timer.start();
    } else if (!run) {
        m_timer.stop();
    }
}

void Marquee::step()
{
    // Moves by elapsed time, so a busy user-interface thread does not slow the line down.
    m_scrolled += m_clock.restart() * m_speed / 1000.0;
    const double cycle = width() + contentWidth();
    if (m_scrolled > cycle)
        m_scrolled = std::fmod(m_scrolled, cycle);
    update();
}

void Marquee::paintEvent(QPaintEvent*)
{
    if (!m_stripValid)
        renderStrip();
    if (m_strip.isNull())
        return;
    QPainter p(this);
    const qreal stripHeight = m_strip.height() / m_strip.devicePixelRatioF();
    p.drawPixmap(QPointF(width() - m_scrolled, (height() - stripHeight) / 2), m_strip);
}

void Marquee::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        m_stripValid = false;
        update();
    }
    QWidget::changeEvent(event);
}

void Marquee::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateTimer();
}

void Marquee::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    updateTimer();
}

} // namespace velmora
