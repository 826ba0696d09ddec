#pragma once

#include <QElapsedTimer>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QVector>
#include <QWidget>

namespace velmora {

// A line of items scrolling from right to left, like a news ticker. Items are plain or rich
// text (HTML) and follow each other `itemSpacing` pixels apart; when the last one has left
// the line, the first comes in again from the right. Scrolls only while active, shown and
// not empty; the items are painted once into a strip, so a frame is one blit.
class Marquee : public QWidget {
    Q_OBJECT
public:
    enum class ItemStyle { Text, Html };
    struct Item {
        QString text;
        ItemStyle style = ItemStyle::Text;
    };

    explicit Marquee(QWidget* parent = nullptr);

    void setActive(bool active);
    bool isActive() const { return m_active; }

    void clearItems();
    int addItem(const QString& text, ItemStyle style = ItemStyle::Text); // the new item's index
    int itemCount() const { return int(m_items.size()); }
    Item item(int index) const { return m_items.value(index); }
    void setItemText(int index, const QString& text);
    void setItemStyle(int index, ItemStyle style);

    void setItemSpacing(int pixels);
    int itemSpacing() const { return m_spacing; }
    void setSpeed(int pixelsPerSecond);

    // How far the line has moved since it (re)started, in pixels; for tests and diagnostics.
    double scrolled() const { return m_scrolled; }
    bool isScrolling() const { return m_timer.isActive(); }
    // Width of the items laid out in a row, with their spacing.
    int contentWidth();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void itemsChanged();
    void renderStrip();
    void updateTimer();
    void step();

    QVector<Item> m_items;
    bool m_active = false;
    int m_spacing = 5;
    int m_speed = 60;
    QPixmap m_strip;
    bool m_stripValid = false;
    double m_scrolled = 0;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

} // namespace velmora
