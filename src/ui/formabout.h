#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;

namespace kovrant {

// The About window: the program's name and version, a credit line and a link. The icon slides in
// from the right edge in about half a second; only then do OK and the link work (the link also
// from the keyboard), and the icon can be dragged about.
class FormAbout : public QDialog {
    Q_OBJECT

public:
    // With animate false the timer is not started, so that tests drive the ticks themselves.
    explicit FormAbout(QWidget* parent = nullptr, bool animate = true);

    // One tick of the animation timer: the first only ends the second of waiting, each further
    // one is a step of the slide, the thirtieth the last.
    void tick();
    bool isAnimating() const { return m_slideTick < SlideSteps; }

    static constexpr int SlideSteps = 30;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finishAnimation();
    void followLink();
    void moveIconCentredOn(const QPoint& pointInIcon);

    QTimer m_timer;
    QLabel* m_icon = nullptr;
    QLabel* m_link = nullptr;
    QPushButton* m_ok = nullptr;
    int m_slideTargetLeft = 0;
    int m_slideStartLeft = 0;
    int m_slideTick = 0;
    bool m_waited = false;
    bool m_draggingIcon = false;
    bool m_animate;
};

} // namespace kovrant
