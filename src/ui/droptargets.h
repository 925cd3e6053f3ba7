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

// A label onto which files are dropped. A drag of local files is offered the copy action;
// anything else is refused. The caption is given with "&&" for one ampersand.
class DropLabel : public QLabel {
    Q_OBJECT

public:
    // Gets the dropped files and says whether it took them.
    using DropHandler = std::function<bool(const QStringList& files)>;

    DropLabel(const QString& caption, QWidget* parent = nullptr);
    void setDropHandler(DropHandler handler) { m_handler = std::move(handler); }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    DropHandler m_handler;
};

// A path field that takes the first of the dragged files as a path, where a plain line edit
// would insert the URL's text. accepts decides, by that path, whether a drag is offered the
// copy action; a drag without files is always refused.
class PathField : public QLineEdit {
    Q_OBJECT

public:
    using Accepts = std::function<bool(const QString& path)>;
    using Take = std::function<void(const QString& path)>;

    explicit PathField(QWidget* parent = nullptr);
    void setDropRule(Accepts accepts, Take take);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool offer(QDropEvent* event) const;

    Accepts m_accepts;
    Take m_take;
};

} // namespace kovrant
