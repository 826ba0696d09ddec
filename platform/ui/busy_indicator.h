#pragma once

#include <QTimer>
#include <QWidget>

namespace velmora {

// A small spinning busy animation, drawn by us. Hidden and still until start().
class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget* parent = nullptr);
    void start();
    void stop();
    bool isRunning() const { return m_timer.isActive(); }
    QSize sizeHint() const override { return {28, 28}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer m_timer;
    int m_step = 0;
};

} // namespace velmora
