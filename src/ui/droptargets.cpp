#include "ui/droptargets.h"

#include "files/filenames.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QUrl>

#include <utility>

namespace kovrant {

namespace {

// Grants the copy action when the source allows it; a drag that cannot be copied is refused.
bool OfferCopy(QDropEvent* event, bool wanted)
{
    if (!wanted || !event->possibleActions().testFlag(Qt::CopyAction)) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

// The local path of a file URL as the kernel knows it: a name whose bytes are not UTF-8 keeps
// them, so that the jobs refuse it instead of finding a file its stand-ins would name.
QString LocalPath(const QUrl& url)
{
    if (!url.host().isEmpty())
        return url.toLocalFile();
    return DecodeFileName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

} // namespace

QStringList DraggedFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files.append(LocalPath(url));
    }
    return files;
}

DropLabel::DropLabel(const QString& caption, QWidget* parent)
    : QLabel(parent)
{
    QString text = caption;
    text.replace(QStringLiteral("&&"), QStringLiteral("&"));
    setText(text);
    setAcceptDrops(true);
}

void DropLabel::dragEnterEvent(QDragEnterEvent* event)
{
    OfferCopy(event, !DraggedFiles(event->mimeData()).isEmpty());
}

void DropLabel::dragMoveEvent(QDragMoveEvent* event)
{
    OfferCopy(event, !DraggedFiles(event->mimeData()).isEmpty());
}

void DropLabel::dropEvent(QDropEvent* event)
{
    const QStringList files = DraggedFiles(event->mimeData());
    if (!OfferCopy(event, !files.isEmpty()))
        return;
    // A drop that the window does not take (a batch is on its way) is not reported as a copy.
    if (!m_handler || !m_handler(files))
        event->ignore();
}

PathField::PathField(QWidget* parent)
    : QLineEdit(parent)
{}

void PathField::setDropRule(Accepts accepts, Take take)
{
    m_accepts = std::move(accepts);
    m_take = std::move(take);
}

bool PathField::offer(QDropEvent* event) const
{
    // Only the first of the dragged paths counts; a first URL that is no local file is refused.
    const QMimeData* mime = event->mimeData();
    const bool firstIsFile = mime && mime->hasUrls() && !mime->urls().isEmpty() &&
                             mime->urls().constFirst().isLocalFile();
    const bool wanted = firstIsFile && m_accepts && m_accepts(LocalPath(mime->urls().constFirst()));
    return OfferCopy(event, wanted);
}

void PathField::dragEnterEvent(QDragEnterEvent* event)
{
    offer(event);
}

void PathField::dragMoveEvent(QDragMoveEvent* event)
{
    offer(event);
}

void PathField::dropEvent(QDropEvent* event)
{
    if (offer(event) && m_take)
        m_take(LocalPath(event->mimeData()->urls().constFirst()));
}

} // namespace kovrant
