#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include <functional>

class QDropEvent;
class QMimeData;

namespace kovrant {

// The local files a drag carries, in the order of the drag; other URLs are passed over.
QStringList DraggedFiles(const QMimeData* data);

// A label that takes files: dropped from the desktop, chosen in a file dialog (Enter, Space or a
// click while it has the focus, which it takes like a button), or pasted from the clipboard
// (Ctrl+V). However they come, they go to the one intake. A drag that the intake would take is
// offered the copy action and the label is highlighted while it hovers; any other drag is
// refused, so that the pointer shows it is not allowed. The caption is given with "&&" for one
// ampersand.
class DropLabel : public QLabel {
    Q_OBJECT

public:
    // Whether the intake would take files now; a drag without files is always refused.
    using Accepts = std::function<bool(const QStringList& files)>;
    // Takes the files and says whether it did.
    using Intake = std::function<bool(const QStringList& files)>;
    // Asks for files, most often in a file dialog; none when the user cancels.
    using Choose = std::function<QStringList()>;

    DropLabel(const QString& caption, QWidget* parent = nullptr);
    void setIntake(Accepts accepts, Intake intake);
    void setChooser(Choose choose) { m_choose = std::move(choose); }

    // Hands files to the intake as a drop does; false when they were refused.
    bool take(const QStringList& files);
    bool isHighlighted() const { return m_highlighted; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool offer(QDropEvent* event);
    void choose();

    Accepts m_accepts;
    Intake m_intake;
    Choose m_choose;
    bool m_highlighted = false;
    bool m_pressed = false;
};

// A path field that takes the first of the dragged files as a path, where a plain line edit
// would insert the URL's text. accepts decides, by that path, whether a drag is offered the
// copy action, and the field is highlighted while one it takes hovers; a drag without files is
// always refused.
class PathField : public QLineEdit {
    Q_OBJECT

public:
    using Accepts = std::function<bool(const QString& path)>;
    using Take = std::function<void(const QString& path)>;

    explicit PathField(QWidget* parent = nullptr);
    void setDropRule(Accepts accepts, Take take);

    // Takes the first of files as a drop does; false when it was refused.
    bool take(const QStringList& files);
    bool isHighlighted() const { return m_highlighted; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool offer(QDropEvent* event);

    Accepts m_accepts;
    Take m_take;
    bool m_highlighted = false;
};

} // namespace kovrant
