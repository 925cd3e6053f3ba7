#include "ui/droptargets.h"

#include "files/filenames.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include <utility>

namespace kovrant {

namespace {

constexpr qreal HighlightWidth = 3;

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

// A frame in the highlight colour just inside the widget's edge: here the drag would go.
void PaintHighlight(QWidget* widget)
{
    QPainter painter(widget);
    QPen pen(widget->palette().color(QPalette::Highlight), HighlightWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const qreal inset = HighlightWidth / 2;
    painter.drawRect(QRectF(widget->rect()).adjusted(inset, inset, -inset, -inset));
}

void SetHighlight(QWidget* widget, bool& highlighted, bool on)
{
    if (highlighted == on)
        return;
    highlighted = on;
    widget->update();
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
    setFocusPolicy(Qt::StrongFocus);
}

void DropLabel::setIntake(Accepts accepts, Intake intake)
{
    m_accepts = std::move(accepts);
    m_intake = std::move(intake);
}

bool DropLabel::take(const QStringList& files)
{
    return !files.isEmpty() && m_accepts && m_accepts(files) && m_intake && m_intake(files);
}

bool DropLabel::offer(QDropEvent* event)
{
    const QStringList files = DraggedFiles(event->mimeData());
    const bool offered = OfferCopy(event, !files.isEmpty() && m_accepts && m_accepts(files));
    SetHighlight(this, m_highlighted, offered);
    return offered;
}

void DropLabel::dragEnterEvent(QDragEnterEvent* event)
{
    offer(event);
}

void DropLabel::dragMoveEvent(QDragMoveEvent* event)
{
    offer(event);
}

void DropLabel::dragLeaveEvent(QDragLeaveEvent* event)
{
    SetHighlight(this, m_highlighted, false);
    QLabel::dragLeaveEvent(event);
}

void DropLabel::dropEvent(QDropEvent* event)
{
    const bool offered = offer(event);
    SetHighlight(this, m_highlighted, false);
    // A drop that the intake does not take after all is not reported as a copy.
    if (offered && !(m_intake && m_intake(DraggedFiles(event->mimeData()))))
        event->ignore();
}

void DropLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        if (!take(DraggedFiles(QApplication::clipboard()->mimeData())))
            QApplication::beep();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Select:
        choose();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void DropLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    event->accept();
}

void DropLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    // A click is a press and a release over the label, as on a button.
    event->accept();
    if (std::exchange(m_pressed, false) && rect().contains(event->position().toPoint()))
        choose();
}

void DropLabel::choose()
{
    if (m_choose)
        take(m_choose());
}

void DropLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (m_highlighted)
        PaintHighlight(this);
    if (hasFocus()) {
        // A dotted line inside the frame, lighter than the highlight of a drag.
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(contentsRect().adjusted(3, 3, -4, -4));
    }
}

PathField::PathField(QWidget* parent)
    : QLineEdit(parent)
{}

void PathField::setDropRule(Accepts accepts, Take take)
{
    m_accepts = std::move(accepts);
    m_take = std::move(take);
}

bool PathField::take(const QStringList& files)
{
    if (files.isEmpty() || !m_accepts || !m_accepts(files.constFirst()) || !m_take)
        return false;
    m_take(files.constFirst());
    return true;
}

bool PathField::offer(QDropEvent* event)
{
    // Only the first of the dragged paths counts; a first URL that is no local file is refused.
    const QMimeData* mime = event->mimeData();
    const bool firstIsFile = mime && mime->hasUrls() && !mime->urls().isEmpty() &&
                             mime->urls().constFirst().isLocalFile();
    const bool wanted = firstIsFile && m_accepts && m_accepts(LocalPath(mime->urls().constFirst()));
    const bool offered = OfferCopy(event, wanted);
    SetHighlight(this, m_highlighted, offered);
    return offered;
}

void PathField::dragEnterEvent(QDragEnterEvent* event)
{
    offer(event);
}

void PathField::dragMoveEvent(QDragMoveEvent* event)
{
    offer(event);
}

void PathField::dragLeaveEvent(QDragLeaveEvent* event)
{
    SetHighlight(this, m_highlighted, false);
    QLineEdit::dragLeaveEvent(event);
}

void PathField::dropEvent(QDropEvent* event)
{
    const bool offered = offer(event);
    SetHighlight(this, m_highlighted, false);
    if (offered && m_take)
        m_take(LocalPath(event->mimeData()->urls().constFirst()));
}

void PathField::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (m_highlighted)
        PaintHighlight(this);
}

} // namespace kovrant
