#include "memo/HeadlessMemoView.h"

namespace memo {

void HeadlessMemoView::clearTitles() {
    m_titles.clear();
    m_selectedRow = -1;
}

void HeadlessMemoView::removeTitle(int row) {
    if (row < 0 || row >= m_titles.size())
        return;
    m_titles.removeAt(row);
    // Like a combo box: the selection follows its entry, and is lost with it.
    if (m_selectedRow == row)
        m_selectedRow = -1;
    else if (m_selectedRow > row)
        --m_selectedRow;
}

void HeadlessMemoView::setTitleAt(int row, const QString& title) {
    if (row >= 0 && row < m_titles.size())
        m_titles[row] = title;
}

void HeadlessMemoView::showPosition(const QString& counter, bool previousEnabled,
                                    bool nextEnabled) {
    m_counter = counter;
    m_previousEnabled = previousEnabled;
    m_nextEnabled = nextEnabled;
}

} // namespace memo
