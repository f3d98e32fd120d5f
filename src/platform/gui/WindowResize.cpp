#include "WindowResize.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

constexpr int kEdgeThickness = 4;

Qt::Edges edgesAt(const QWidget* window, const QPoint& local) {
    Qt::Edges edges;
    const bool widthFree = window->minimumWidth() < window->maximumWidth();
    const bool heightFree = window->minimumHeight() < window->maximumHeight();
    if (widthFree && local.x() < kEdgeThickness)
        edges |= Qt::LeftEdge;
    if (widthFree && local.x() >= window->width() - kEdgeThickness)
        edges |= Qt::RightEdge;
    if (heightFree && local.y() < kEdgeThickness)
        edges |= Qt::TopEdge;
    if (heightFree && local.y() >= window->height() - kEdgeThickness)
        edges |= Qt::BottomEdge;
    return edges;
}

Qt::CursorShape cursorFor(Qt::Edges edges) {
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = (edges & Qt::LeftEdge) == bool(edges & Qt::TopEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    return horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

// Watches the native window, which sees every pointer event before any child widget does.
class ResizeEdges : public QObject {
public:
    explicit ResizeEdges(QWidget* window) : QObject(window), m_window(window) {
        setObjectName(QStringLiteral("scrivlet-resize-edges"));
        window->installEventFilter(this);
        watchHandle();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window) {
            if (event->type() == QEvent::Show)
                watchHandle();
            else if (event->type() == QEvent::Hide)
                setEdgeCursor({});
            return false;
        }
        switch (event->type()) {
        case QEvent::MouseMove:
            return onMove(static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonPress:
            return onPress(static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonRelease:
            if (m_manual) {
                m_manual = false;
                setEdgeCursor({});
                return true;
            }
            return false;
        case QEvent::Leave:
            if (!m_manual)
                setEdgeCursor({});
            return false;
        default:
            return false;
        }
    }

private:
    void watchHandle() {
        QWindow* handle = m_window->windowHandle();
        if (!handle || handle == m_handle)
            return;
        if (m_handle)
            m_handle->removeEventFilter(this);
        m_handle = handle;
        handle->installEventFilter(this);
    }

    bool onMove(QMouseEvent* event) {
        const QPoint global = event->globalPosition().toPoint();
        if (m_manual) {
            followPointer(global);
            return true;
        }
        if (event->buttons() == Qt::NoButton)
            setEdgeCursor(edgesAt(m_window, m_window->mapFromGlobal(global)));
        return false;
    }

    bool onPress(QMouseEvent* event) {
        if (event->button() != Qt::LeftButton)
            return false;
        const QPoint global = event->globalPosition().toPoint();
        const Qt::Edges edges = edgesAt(m_window, m_window->mapFromGlobal(global));
        if (!edges)
            return false;
        if (m_handle && m_handle->startSystemResize(edges)) {
            setEdgeCursor({});
            return true;
        }
        // The window manager does not resize for us: follow the pointer until the release.
        m_manual = true;
        m_edges = edges;
        m_start = global;
        m_startGeometry = m_window->geometry();
        return true;
    }

    void followPointer(const QPoint& global) {
        const QPoint delta = global - m_start;
        QRect g = m_startGeometry;
        const auto clampWidth = [this](int w) {
            return qBound(m_window->minimumWidth(), w, m_window->maximumWidth());
        };
        const auto clampHeight = [this](int h) {
            return qBound(m_window->minimumHeight(), h, m_window->maximumHeight());
        };
        if (m_edges & Qt::RightEdge)
            g.setWidth(clampWidth(m_startGeometry.width() + delta.x()));
        if (m_edges & Qt::LeftEdge) {
            const int width = clampWidth(m_startGeometry.width() - delta.x());
            g.setLeft(m_startGeometry.right() + 1 - width);
        }
        if (m_edges & Qt::BottomEdge)
            g.setHeight(clampHeight(m_startGeometry.height() + delta.y()));
        if (m_edges & Qt::TopEdge) {
            const int height = clampHeight(m_startGeometry.height() - delta.y());
            g.setTop(m_startGeometry.bottom() + 1 - height);
        }
        m_window->setGeometry(g);
    }

    void setEdgeCursor(Qt::Edges edges) {
        const bool wanted = edges != Qt::Edges();
        if (wanted && m_cursorSet) {
            QGuiApplication::changeOverrideCursor(cursorFor(edges));
        } else if (wanted) {
            QGuiApplication::setOverrideCursor(cursorFor(edges));
            m_cursorSet = true;
        } else if (m_cursorSet) {
            QGuiApplication::restoreOverrideCursor();
            m_cursorSet = false;
        }
    }

    QWidget* m_window;
    QPointer<QWindow> m_handle;
    bool m_cursorSet = false;
    bool m_manual = false;
    Qt::Edges m_edges;
    QPoint m_start;
    QRect m_startGeometry;
};

} // namespace

void installResizeEdges(QWidget* window) {
    if (window && !window->findChild<QObject*>(QStringLiteral("scrivlet-resize-edges"),
                                               Qt::FindDirectChildrenOnly))
        new ResizeEdges(window);
}

} // namespace platform
