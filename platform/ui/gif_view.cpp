#include "gif_view.h"

#include <QBuffer>
#include <QMovie>

namespace velmora {

GifView::GifView(QWidget* parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
}

GifView::~GifView()
{
    // The label lets go of the movie before the movie and its buffer are destroyed.
    QLabel::clear();
}

bool GifView::loadGif(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return false;
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    auto movie = std::make_unique<QMovie>(buffer.get(), QByteArrayLiteral("gif"));
    if (!movie->isValid() || movie->frameCount() == 0 || !movie->jumpToFrame(0))
        return false;
    QLabel::clear();
    m_movie = std::move(movie);
    m_buffer = std::move(buffer);
    setMovie(m_movie.get());
    m_movie->start();
    return true;
}

void GifView::clearPicture()
{
    QLabel::clear();
    m_movie.reset();
    m_buffer.reset();
}

} // namespace velmora
