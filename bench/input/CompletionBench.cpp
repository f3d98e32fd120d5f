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

class ListCombo : public IHistoryComboBox {
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
    CMRUCombo history;
    history.setComboBox(&combo);
    for (auto _ : state) {
        combo.setText(QString());
        history.comboKeyDown();
        combo.value = QStringLiteral("C:/Program Files/tool12");
        combo.caret = int(combo.value.size());
        history.comboChanged();
        benchmark::DoNotOptimize(combo.value.size());
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
    CMRUCombo history;
    HistoryComboAdapter adapter(box, history);
    box.addItems(entries());
    QLineEdit* edit = box.lineEdit();
    for (auto _ : state) {
        edit->setText(QString());
        history.comboKeyDown();
        edit->setText(QStringLiteral("C:/Program Files/tool12"));
        history.comboChanged();
        benchmark::DoNotOptimize(box.currentText().size());
    }
}
BENCHMARK(BM_CompletionStepQComboBox)->Unit(benchmark::kMicrosecond);

} // namespace
