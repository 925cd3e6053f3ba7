#include "ui/formabout.h"

#include "ui/programicon.h"
#include "ui/windowservices.h"
#include "version.h"

#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <cmath>

namespace kovrant {

namespace {

constexpr int InnerWidth = 360;
constexpr int InnerHeight = 216;
constexpr int IconSize = 32;
constexpr QPoint IconPlace{300, 22};
constexpr int WaitMs = 1000;
// The 30 steps take about half a second: a slide, where steps as fast as the timer allows would
// end in a blink and look like a jump.
constexpr int StepMs = 16;
constexpr double HalfPiOver30 = 3.141592 / 60; // 30 steps end at a quarter turn
const QString LinkAddress = QStringLiteral("https://kovrant.github.io/");
constexpr QSize TitleSize(260, 48);

QLabel* Label(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(text);
    label->setGeometry(geometry);
    return label;
}

// The title: the program's name in yellow over an olive shadow of two copies, one and two pixels
// right of and below it. The shadow is painted, not made of labels, so that assistive technology
// meets the name once.
class ShadowedTitle : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect text(QPoint(0, 0), TitleSize);
        layer(painter, text.translated(2, 2), QColor(0x80, 0x80, 0x00));
        layer(painter, text.translated(1, 1), QColor(0x80, 0x80, 0x00));
        layer(painter, text, QColor(0xFF, 0xFF, 0x00));
    }

private:
    void layer(QPainter& painter, const QRect& area, const QColor& colour) const
    {
        QPalette colours = palette();
        colours.setColor(QPalette::WindowText, colour);
        style()->drawItemText(&painter, area, int(alignment()), colours, true, text(),
                              QPalette::WindowText);
    }
};

QFrame* Line(QWidget* parent, const char* name, int top, const QColor& colour)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setGeometry(0, top, InnerWidth, 1);
    line->setStyleSheet(QStringLiteral("background: %1").arg(colour.name()));
    return line;
}

} // namespace

FormAbout::FormAbout(QWidget* parent, bool animate)
    : QDialog(parent)
    , m_animate(animate)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(tr("Kovrantについて"));
    setFixedSize(InnerWidth, InnerHeight);
    setModal(true);

    auto* title = new ShadowedTitle(QStringLiteral("Kovrant"), this);
    title->setObjectName(QStringLiteral("Label2"));
    title->setAccessibleName(title->text());
    title->setGeometry(QRect(QPoint(20, 12), TitleSize + QSize(2, 2)));
    QFont font = title->font();
    font.setPointSize(26);
    font.setBold(true);
    title->setFont(font);
    Label(this, "Label3", tr("Version %1").arg(QStringLiteral(KOVRANT_VERSION)),
          QRect(24, 70, 300, 20));
    Label(this, "Label4", QString(), QRect(24, 92, 300, 16));
    Label(this, "Label5", tr("タイムタグ付き歌詞の分割と結合のために"), QRect(24, 110, 320, 20));
    m_link = Label(this, "Label6", LinkAddress, QRect(24, 132, 320, 20));
    m_link->setEnabled(false);
    m_link->installEventFilter(this);
    connect(m_link, &QLabel::linkActivated, this, &FormAbout::followLink);
    // An etched separator across the whole width.
    Line(this, "Line1", 162, QColor(0x80, 0x80, 0x80));
    Line(this, "Line2", 163, QColor(0xFF, 0xFF, 0xFF));

    m_icon = Label(this, "Image1", QString(), QRect(IconPlace, QSize(IconSize, IconSize)));
    m_icon->setAccessibleName(tr("Kovrant"));
    m_icon->setPixmap(ProgramIcon().pixmap(IconSize, IconSize));
    m_icon->installEventFilter(this);
    m_slideTargetLeft = IconPlace.x();
    m_slideStartLeft = InnerWidth;
    m_icon->move(m_slideStartLeft, IconPlace.y());

    m_ok = new QPushButton(tr("OK"), this);
    m_ok->setObjectName(QStringLiteral("ComClose"));
    m_ok->setAccessibleName(m_ok->text());
    m_ok->setGeometry(InnerWidth - 96, InnerHeight - 40, 80, 28);
    m_ok->setVisible(false);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    m_timer.setInterval(WaitMs);
    connect(&m_timer, &QTimer::timeout, this, &FormAbout::tick);
}

void FormAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
    SetTopmost(windowHandle(), true);
    if (m_animate && !m_timer.isActive() && isAnimating())
        m_timer.start();
}

void FormAbout::done(int result)
{
    // However the window is closed, it leaves the topmost band.
    m_timer.stop();
    SetTopmost(windowHandle(), false);
    QDialog::done(result);
}

void FormAbout::tick()
{
    if (!m_waited) {
        m_waited = true;
        m_timer.setInterval(StepMs);
        return;
    }
    if (!isAnimating())
        return;
    ++m_slideTick;
    const double angle = m_slideTick * HalfPiOver30;
    const double left =
        (m_slideStartLeft - m_slideTargetLeft) * std::cos(angle) + m_slideTargetLeft;
    m_icon->move(int(std::lround(left)), m_icon->y());
    if (!isAnimating())
        finishAnimation();
    // The slide is seen even while the timer fires faster than the window repaints.
    QCoreApplication::processEvents();
}

void FormAbout::finishAnimation()
{
    m_timer.stop();
    m_ok->setVisible(true);
    m_ok->setFocus();
    // Now a link, blue and underlined, that Tab reaches and Enter follows.
    m_link->setEnabled(true);
    m_link->setTextFormat(Qt::RichText);
    m_link->setText(QStringLiteral("<a href=\"%1\" style=\"color: #0000FF\">%1</a>")
                        .arg(LinkAddress.toHtmlEscaped()));
    m_link->setTextInteractionFlags(Qt::LinksAccessibleByKeyboard);
    m_link->setCursor(Qt::PointingHandCursor);
}

void FormAbout::followLink()
{
    OpenDocument(LinkAddress);
    accept();
}

void FormAbout::moveIconCentredOn(const QPoint& pointInIcon)
{
    int left = m_icon->x() + pointInIcon.x() - m_icon->width() / 2;
    int top = m_icon->y() + pointInIcon.y() - m_icon->height() / 2;
    left = std::max(left, 0);
    left = std::min(left, width() - m_icon->width());
    top = std::max(top, 0);
    top = std::min(top, height() - m_icon->height());
    m_icon->move(left, top);
}

bool FormAbout::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return QDialog::eventFilter(watched, event);
    // Nothing reacts before the slide has ended.
    if (isAnimating())
        return true;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (watched == m_link) {
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton)
            followLink();
        return true;
    }
    if (watched != m_icon)
        return QDialog::eventFilter(watched, event);
    const QPoint point = mouse->position().toPoint();
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        m_draggingIcon = true;
        moveIconCentredOn(point);
    } else if (type == QEvent::MouseMove && m_draggingIcon &&
               mouse->buttons().testFlag(Qt::LeftButton)) {
        moveIconCentredOn(point);
    } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        m_draggingIcon = false;
    }
    return true;
}

} // namespace kovrant
