// One completion step (a typed character) against 10,000 drop-down entries, both against a plain
// list and against a real QComboBox.
#include "input/CMRUCombo.h"
#include "input/widgets/HistoryComboAdapter.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <benchmark/benchmark.h>

namespace {

QStringList entries() {
    QStringList list;
    for (int i = 0; i < 10000; ++i)
        list.append(
            QStringLiteral("C:/Program Files/tool%1/bin/run.exe --option %2").arg(i % 997).arg(i));
    return list;
}

class ListCombo : public input::IHistoryComboBox {
public:
    QString value;
    int caret = 0, length = 0;
    QStringList list;
    QString text() const override { return value; }
    void setText(const QString& text) override {
        value = text;
        caret = int(text.size());
        length = 0;
    }
    int selectionStart() const override { return caret; }
    int selectionLength() const override { return length; }
    void setSelection(int start, int len) override {
        caret = start;
        length = len;
    }
    QStringList items() const override { return list; }
    void insertItem(int index, const QString& text) override { list.insert(index, text); }
    void removeItem(int index) override { list.removeAt(index); }
};

void BM_CompletionStepPlainList(benchmark::State& state) {
    ListCombo combo;
    combo.list = entries();
    input::CMRUCombo history;
    history.setComboBox(&combo);
    // Alternate two typed texts so that every step really completes.
    const QString typed[] = {QStringLiteral("C:/Program Files/tool12/"),
                             QStringLiteral("C:/Program Files/tool13/")};
    int round = 0;
    for (auto _ : state) {
        const QString& text = typed[round++ % 2];
        combo.setText(text.left(text.size() - 1));
        history.comboKeyDown();
        combo.value = text;
        combo.caret = int(text.size());
        history.comboChanged();
        if (combo.length == 0 || !combo.value.startsWith(text))
            state.SkipWithError("unexpected completion");
    }
}
BENCHMARK(BM_CompletionStepPlainList)->Unit(benchmark::kMicrosecond);

void BM_CompletionStepQComboBox(benchmark::State& state) {
    int argc = 1;
    char name[] = "input_bench";
    char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    QComboBox box;
    input::CMRUCombo history;
    input::HistoryComboAdapter adapter(box, history);
    box.addItems(entries());
    QLineEdit* edit = box.lineEdit();
    const QString typed[] = {QStringLiteral("C:/Program Files/tool12/"),
                             QStringLiteral("C:/Program Files/tool13/")};
    int round = 0;
    for (auto _ : state) {
        const QString& text = typed[round++ % 2];
        edit->setText(text.left(text.size() - 1));
        history.comboKeyDown();
        edit->setText(text);
        history.comboChanged();
        if (!edit->hasSelectedText())
            state.SkipWithError("unexpected completion");
    }
}
BENCHMARK(BM_CompletionStepQComboBox)->Unit(benchmark::kMicrosecond);

} // namespace
