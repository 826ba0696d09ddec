#pragma once

#include <QByteArray>
#include <QLabel>

#include <memory>

class QBuffer;
class QMovie;

namespace velmora {

// Shows an animated GIF held in memory, centred. An unreadable picture leaves the one shown.
class GifView : public QLabel {
    Q_OBJECT
public:
    explicit GifView(QWidget* parent = nullptr);
    ~GifView() override;

    // Loads and starts `bytes` as a GIF; false, and nothing changed, when they are not one.
    bool loadGif(const QByteArray& bytes);
    void clearPicture();
    bool hasPicture() const { return m_movie != nullptr; }
    QMovie* movie() const { return m_movie.get(); }

private:
    std::unique_ptr<QBuffer> m_buffer;
    std::unique_ptr<QMovie> m_movie;
};

} // namespace velmora
