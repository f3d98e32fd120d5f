#pragma once

#include "memo/MemoFinder.h"

#include <QListView>

#include <memory>
#include <optional>

namespace memo {

class FindResultModel;

// The list of memo lines that hold the query, newest first, each under its memo's title with the
// query highlighted. It shows a copy of the memos taken when it opened, so nothing it does can
// change them. It never takes the keyboard focus: the input line keeps it, and its owner moves
// the selection.
class MemoFindView : public QListView {
    Q_OBJECT

public:
    explicit MemoFindView(QWidget* parent = nullptr);
    ~MemoFindView() override;

    // Looks in these memos from now on.
    void setMemos(QList<MemoRecord> memos);
    // Lists the lines that hold `query`; the first is selected.
    void setQuery(const QString& query);
    QString query() const;

    int resultCount() const;
    // Moves the selection by `rows`, stopping at the ends.
    void moveSelection(int rows);
    std::optional<FindHit> selectedHit() const;
    // "title<TAB>line" of row `row`, as shown.
    QString rowText(int row) const;
    // The parts of row `row`'s line that match, as [start, end) ranges of the line.
    QList<std::pair<int, int>> rowHighlights(int row) const;

signals:
    // A result was clicked: the owner jumps to it.
    void hitClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<MemoFinder> m_finder;
    FindResultModel* m_model;
};

} // namespace memo
