#include "MemoFindView.h"

#include <QAbstractListModel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextLayout>

namespace memo {

// The hits of the current query; the highlights of a row are worked out when it is drawn.
class FindResultModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void reset(MemoFinder* finder, const QString& query) {
        beginResetModel();
        m_finder = finder;
        m_query = query;
        m_hits = finder ? finder->find(query) : QList<FindHit>();
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : int(m_hits.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= m_hits.size() || role != Qt::DisplayRole)
            return QVariant();
        return title(index.row()) + QLatin1Char('\t') + line(index.row());
    }
    QString title(int row) const { return m_finder->title(m_hits[row].memo); }
    QString line(int row) const { return m_finder->lineText(m_hits[row]).toString(); }
    QList<std::pair<int, int>> highlights(int row) const {
        return m_finder->matchRanges(m_hits[row], m_query);
    }
    const FindHit& hit(int row) const { return m_hits[row]; }
    const QString& query() const { return m_query; }

private:
    MemoFinder* m_finder = nullptr;
    QString m_query;
    QList<FindHit> m_hits;
};

namespace {

// A row: the memo's title in a quieter colour, then the line with the query highlighted.
class FindResultDelegate : public QStyledItemDelegate {
public:
    FindResultDelegate(FindResultModel& model, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem base = option;
        initStyleOption(&base, index);
        base.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &base, painter, widget);

        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorRole textRole = selected ? QPalette::HighlightedText : QPalette::Text;
        const QRect area = option.rect.adjusted(4, 0, -4, 0);
        painter->save();
        painter->setClipRect(option.rect);

        const QString title = m_model.title(index.row());
        QColor quiet = option.palette.color(textRole);
        quiet.setAlphaF(0.6);
        painter->setPen(quiet);
        const int titleWidth =
            std::min(area.width() / 3, option.fontMetrics.horizontalAdvance(title) + 12);
        painter->drawText(QRect(area.left(), area.top(), titleWidth - 12, area.height()),
                          Qt::AlignVCenter | Qt::AlignLeft,
                          option.fontMetrics.elidedText(title, Qt::ElideRight, titleWidth - 12));

        QTextLayout layout(m_model.line(index.row()), option.font);
        QList<QTextLayout::FormatRange> formats;
        for (const auto& [start, end] : m_model.highlights(index.row())) {
            QTextLayout::FormatRange range;
            range.start = start;
            range.length = end - start;
            range.format.setBackground(QColor(255, 214, 0, selected ? 150 : 200));
            range.format.setForeground(selected ? option.palette.color(QPalette::HighlightedText)
                                                : QColor(Qt::black));
            formats.append(range);
        }
        layout.setFormats(formats);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(1e6);
        layout.endLayout();
        painter->setPen(option.palette.color(textRole));
        const qreal y = area.top() + (area.height() - line.height()) / 2;
        layout.draw(painter, QPointF(area.left() + titleWidth, y));
        painter->restore();
    }

private:
    FindResultModel& m_model;
};

} // namespace

MemoFindView::MemoFindView(QWidget* parent)
    : QListView(parent), m_model(new FindResultModel(this)) {
    setModel(m_model);
    setItemDelegate(new FindResultDelegate(*m_model, this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QListView::clicked, this, [this](const QModelIndex& index) {
        setCurrentIndex(index);
        emit hitClicked();
    });
}

MemoFindView::~MemoFindView() = default;

void MemoFindView::setMemos(QList<MemoRecord> memos) {
    m_model->reset(nullptr, QString());
    m_finder = std::make_unique<MemoFinder>(std::move(memos));
}

void MemoFindView::setQuery(const QString& query) {
    m_model->reset(m_finder.get(), query);
    if (m_model->rowCount() > 0)
        setCurrentIndex(m_model->index(0));
    scrollToTop();
    viewport()->update();
}

QString MemoFindView::query() const {
    return m_model->query();
}

int MemoFindView::resultCount() const {
    return m_model->rowCount();
}

void MemoFindView::moveSelection(int rows) {
    const int count = m_model->rowCount();
    if (count == 0)
        return;
    const int row = std::clamp(currentIndex().row() + rows, 0, count - 1);
    setCurrentIndex(m_model->index(row));
    scrollTo(currentIndex());
}

std::optional<FindHit> MemoFindView::selectedHit() const {
    const QModelIndex index = currentIndex();
    if (!index.isValid() || index.row() >= m_model->rowCount())
        return std::nullopt;
    return m_model->hit(index.row());
}

QString MemoFindView::rowText(int row) const {
    return m_model->data(m_model->index(row), Qt::DisplayRole).toString();
}

QList<std::pair<int, int>> MemoFindView::rowHighlights(int row) const {
    return m_model->highlights(row);
}

void MemoFindView::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    if (m_model->rowCount() > 0)
        return;
    QPainter painter(viewport());
    QColor quiet = palette().color(QPalette::Text);
    quiet.setAlphaF(0.6);
    painter.setPen(quiet);
    const QString text = isFindableQuery(m_model->query())
                             ? tr("「%1」を含む行はありません").arg(m_model->query())
                             : tr("探す文字を入力してください");
    painter.drawText(viewport()->rect().adjusted(8, 8, -8, -8),
                     Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, text);
}

} // namespace memo
